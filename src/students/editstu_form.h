#pragma once

#include "registerediting.h"

#include <QDialog>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

namespace tavimor {

class DBComboBox;
class DBCurrencyEdit;
class DBDatePicker;
class DBEdit;
class DBMemo;
class DBRadioGroup;

// The student editor: adds, changes and shows one row of 客户资料表 directly in the register
// cursor stu_table (through DM->stu_ds). The opener starts the row (insert), puts it into edit
// state or leaves it browsing, calls prepareForAdd/Change/View and shows the editor modally.
class Teditstu_form : public QDialog
{
    Q_OBJECT
public:
    Teditstu_form();

    // --- header, panels, hint
    QLabel *Panel1;  // mode heading
    QFrame *Panel2;  // the field panel
    QLabel *Image1;  // decorative picture
    QLabel *Label16; // hint

    // --- data controls, in tab order
    DBEdit *name_dbedit;
    DBRadioGroup *sex_dbrg;
    DBEdit *school_dbedit;
    DBComboBox *grade_dbcb;
    DBEdit *aihao_dbedit;
    DBDatePicker *inputdate_dbedit;
    DBEdit *father_dbedit;
    DBComboBox *fatherlevel_dbcb;
    DBEdit *mother_dbedit;
    DBComboBox *motherlevel_dbcb;
    DBEdit *tel_dbedit;    // digits only
    DBEdit *mobile_dbedit; // digits only
    DBEdit *address_dbedit;
    DBEdit *subject_dbedit;   // double-click: subject pop-up
    DBMemo *teachtime_dbmemo; // double-click: time-slot pop-up
    DBMemo *score_dbmemo;
    DBMemo *request_dbmemo;
    DBEdit *laoshiyaoqiu_dbedit;
    DBComboBox *pricerequest_dbcb;
    DBEdit *xieyi_dbedit;
    DBCurrencyEdit *feiyong_dbedit;
    DBEdit *ziliao_dbedit;
    DBMemo *service_dbmemo;
    DBComboBox *tuiguangyuan_dbcb;
    DBComboBox *guwen_dbcb;

    // --- other controls, in tab order after the fields
    QPushButton *up_button;
    QPushButton *down_button;
    QPushButton *save_button;
    QPushButton *close_button;
    QCheckBox *lianxu_check;

    // The window side of the opener's add / change / view steps: title, heading, continuous-add
    // box, stepping and save buttons, the entry date (add), editable or read-only controls.
    void prepareForAdd();
    void prepareForChange();
    void prepareForView();

    // Every data control unchangeable / changeable again.
    void readonlyfunc();
    void notreadonlyfunc();

    // Add mode is the showing with the continuous-add box enabled.
    bool isAddMode() const;

    // --- handlers
    void FormShow();
    void save_buttonClick();
    void close_buttonClick();
    void FormClose();
    void up_buttonClick();
    void down_buttonClick();
    void subject_dbeditDblClick();
    void teachtime_dbmemoDblClick();

    // The texts of the window.
    static const QString kRequiredMessage;
    static const QString kDuplicateQuestion;

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void setMode(const QString &title, const QString &heading, bool adding, bool viewing);
    void buildControls();
    void bindControls();
    void setTabOrders();
    bool requiredFilled() const;
    bool isDuplicate() const;
    bool postChange();
    bool writeNewRecord();
    void continueOrClose();
    void refillGrades();

    RegisterEditing m_editing;
};

extern Teditstu_form *editstu_form;

} // namespace tavimor
