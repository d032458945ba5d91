#pragma once

#include "registerediting.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QToolButton;

namespace tavimor {

class DBComboBox;
class DBDatePicker;
class DBEdit;
class DBMemo;
class DBRadioGroup;
class TableCursor;

// The teacher editor: adds, changes and shows one row of 员工表 through the register cursor
// tea_table. The main window starts the row (insert / edit), calls prepareForAdd(),
// prepareForChange() or prepareForView() and then exec(). Created once at start-up; the family
// panel's state and the list contents carry over from one showing to the next.
class Tedittea_form : public QDialog
{
    Q_OBJECT
public:
    explicit Tedittea_form(QWidget *parent = nullptr);

    // The window-side settings of the three ways of opening the editor.
    void prepareForAdd();
    void prepareForChange();
    void prepareForView();

    // Every data control unchangeable / changeable again (chengyuan_button stays usable).
    void readonlyfunc();
    void notreadonlyfunc();

    // Whether the family panel is showing (wide window).
    bool isFamilyPanelOpen() const;

    static constexpr int kNarrowWidth = 509;
    static constexpr int kWideWidth = 672;

    // --- header, hint, picture
    QLabel *Panel2;
    QFrame *panel1;
    QLabel *Image1;
    QLabel *Label23;

    // --- main panel, in tab order
    DBEdit *name_dbedit;
    DBRadioGroup *sex_dbrg;
    DBComboBox *hometown_dbcb;
    DBDatePicker *borth_dbdtp;
    DBEdit *school_dbedit;
    DBComboBox *grade_dbcb;
    DBComboBox *zhuanye_dbcb;
    DBEdit *jiangli_dbedit;
    DBEdit *aihao_dbedit;
    DBEdit *idnumber_dbedit;
    DBEdit *homeaddress_dbedit;
    DBEdit *hometel_dbedit;
    DBEdit *nowaddress_dbedit;
    DBEdit *nowtel_dbedit;
    DBEdit *mobile_dbedit;
    DBEdit *email_dbedit;
    DBEdit *oicq_dbedit;
    DBEdit *shanchang_dbedit;
    DBMemo *teachduixiang_dbmemo;
    DBMemo *teachtime_dbmemo;
    DBMemo *express_dbmemo;
    DBMemo *beizhu_dbmemo;
    DBDatePicker *meettime_dbdtp;
    DBEdit *mianshiguan_dbedit;
    DBComboBox *score_dbcb;
    DBDatePicker *inputdate_dbdtp;
    DBMemo *pingjia_dbmemo;
    QToolButton *chengyuan_button;

    // --- family panel
    QFrame *Panel3;
    QGroupBox *GroupBox1, *GroupBox2, *GroupBox3;
    DBComboBox *chenhu1_dbcb, *chenhu2_dbcb, *chenhu3_dbcb;
    DBEdit *danwei1_dbedit, *danwei2_dbedit, *danwei3_dbedit;
    DBComboBox *zhichen1_dbcb, *zhichen2_dbcb, *zhichen3_dbcb;
    DBEdit *danweidianhua1_dbedit, *danweidianhua2_dbedit, *danweidianhua3_dbedit;

    // --- other controls
    QCheckBox *lianxu_check;
    QPushButton *save_button;
    QPushButton *close_button;
    QPushButton *up_button;
    QPushButton *down_button;

public slots:
    void FormShow();
    void save_buttonClick();
    void close_buttonClick();
    void up_buttonClick();
    void down_buttonClick();
    void chengyuan_buttonClick();
    void shanchang_dbeditDblClick();
    void teachduixiang_dbmemoDblClick();
    void teachtime_dbmemoDblClick();

protected:
    void showEvent(QShowEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

public:
    // Closing by any way (save, 关闭) ends in done(), which runs FormClose first.
    void done(int result) override;

private:
    enum class Mode { Add, Change, View };
    void prepare(const QString &title, const QString &header, Mode mode);
    void FormClose();

    void buildMainPanel();
    void buildFamilyPanel();
    QWidget *buildSideColumn();
    void setTabOrderChain();
    void applyFamilyPanelWidth();

    // Steps of saving; each returns false when the save stops there (the pending row stays).
    bool requiredEntriesPresent();
    bool growLookupLists(); // false when a list could not grow (reported)
    void startNextRecord();
    void setDatesToNow();
    void refillTitleLists();

    QList<QWidget *> readOnlyControls() const;
    QList<QWidget *> disabledControls() const;

    int m_height = 0;
    RegisterEditing m_editing;
};

extern Tedittea_form *edittea_form;

} // namespace tavimor
