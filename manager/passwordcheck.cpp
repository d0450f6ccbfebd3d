#include "passwordcheck.h"

#include <cstring>

void StorePassword(ConfigRecord& record, const QString& typed)
{
    const QByteArray hash = ParentPasswordHash(typed);
    std::memset(record.m_szPassword, 0, sizeof record.m_szPassword);
    std::memcpy(record.m_szPassword, hash.constData(),
                qMin<std::size_t>(std::size_t(hash.size()), sizeof record.m_szPassword - 1));
    record.m_bPasswordSet = 1;
}

FirstPasswordCheck CheckFirstPassword(const QString& first, const QString& second)
{
    if (first.isEmpty())
        return FirstPasswordCheck::EmptyFirst;
    if (first.toUtf8() != second.toUtf8())
        return FirstPasswordCheck::Mismatch;
    return FirstPasswordCheck::Accepted;
}

StartDialog ChooseStartDialog(const ConfigRecord& record)
{
    if (record.m_bPasswordSet == 0)
        return StartDialog::SetPassword;
    if (record.m_bLoginBeforeManage != 0)
        return StartDialog::Login;
    return StartDialog::ControlPanel;
}
