#include "registerediting.h"

#include "dm.h"
#include "errors.h"

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

void RegisterEditing::stepPrior()
{
    if (m_cursor->bof())
        DM->Message1->information(u"已经是第一条记录了!"_s);
    else
        m_cursor->prior();
}

void RegisterEditing::stepNext()
{
    if (m_cursor->eof())
        DM->Message1->information(u"已经是最后一条记录了!"_s);
    else
        m_cursor->next();
}

bool RegisterEditing::post()
{
    try {
        m_cursor->post();
        return true;
    } catch (const ConflictError &e) {
        m_conflict = true;
        const QString what = e.reason() == ConflictError::Reason::DeletedElsewhere
                                 ? u"这位%1的记录已被其他用户删除，您的修改没有保存。"_s
                                 : u"这位%1的记录已被其他用户修改，您的修改没有保存，以免覆盖对方的修改。"_s;
        DM->Message1->messageBox(what.arg(m_noun) +
                                     u"\n您填写的内容仍保留在窗口中，可先记下。关闭窗口将放弃这些修改；"
                                     u"重新打开这条记录即可看到对方保存的内容。"_s,
                                 MessageService::Kind::Error, MessageService::Buttons::Ok);
    } catch (const DatabaseError &e) {
        reportNotSaved(e.message());
    }
    return false;
}

void RegisterEditing::reportNotSaved(const QString &engineMessage) const
{
    DM->Message1->messageBox(u"%1记录没有保存：%2\n您填写的内容仍保留在窗口中，可以修改后再保存。"_s.arg(m_noun, engineMessage),
                             MessageService::Kind::Error, MessageService::Buttons::Ok);
}

void RegisterEditing::discard()
{
    m_cursor->cancel();
    if (m_conflict) {
        m_conflict = false;
        m_cursor->refresh();
    }
}

} // namespace tavimor
