#include "setparentpassword.h"

#include "configmanager.h"
#include "md5a.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t kTextBuffer = 260;

enum class PopResult { Popped, Empty, TooLong };

// Takes the top node off the stack and frees it. A node's text holds at most
// `stringSize` bytes, its ending zero included: nothing past them is read. A text
// that does not fit the buffer, or has no ending zero within its size, is popped but
// not copied, so nothing is ever written past the buffer.
PopResult popString(lorvane_stack_t** stacktop, int stringSize, char (&buffer)[kTextBuffer])
{
    if (!stacktop || !*stacktop)
        return PopResult::Empty;
    lorvane_stack_t* top = *stacktop;
    const std::size_t limit = stringSize > 0 ? std::min(std::size_t(stringSize), kTextBuffer) : 0;
    const std::size_t length = ::strnlen(top->text, limit);
    const bool fits = length < limit;
    if (fits)
        std::memcpy(buffer, top->text, length + 1);
    *stacktop = top->next;
    std::free(top);
    return fits ? PopResult::Popped : PopResult::TooLong;
}

} // namespace

extern "C" void SetParentPassword(void* /*hwndParent*/, int string_size, char* /*variables*/,
                                  lorvane_stack_t** stacktop)
{
    try {
        char password[kTextBuffer] = {};
        char path[kTextBuffer] = {};
        // Both strings leave the stack whatever they hold, as the installer expects.
        const PopResult gotPassword = popString(stacktop, string_size, password);
        const PopResult gotPath = popString(stacktop, string_size, path);
        if (gotPassword != PopResult::Popped || gotPath != PopResult::Popped) {
            qCWarning(lcConfig) << "the installer's password was not stored: its texts were missing or too long";
            return;
        }

        CConfigManager config;
        if (config.SetConfigPathName(path) != 0) {
            qCWarning(lcConfig) << "the installer's password was not stored: no usable file path";
            return;
        }
        config.SetDefaultConfig();
        config.m_record.m_bPasswordSet = 1;
        const QByteArray hash = CMd5A().MDString(password);
        std::memset(config.m_record.m_szPassword, 0, sizeof config.m_record.m_szPassword);
        std::memcpy(config.m_record.m_szPassword, hash.constData(), std::size_t(hash.size()));
        config.SaveConfigToFile();
    } catch (const std::exception& e) {
        // Nothing may cross into the installer; it learns nothing of the outcome.
        qCWarning(lcConfig) << "the installer's password was not stored:" << e.what();
    } catch (...) {
        qCWarning(lcConfig) << "the installer's password was not stored";
    }
}
