#include "setparentpassword.h"

#include "configmanager.h"
#include "md5a.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t kTextBuffer = 260;

// The stack of the latest call, as the installer hands it over.
lorvane_stack_t** g_stacktop = nullptr;

enum class PopResult { Popped, Empty, TooLong };

// Takes the top node off the stack and frees it. A text that does not fit the
// buffer is popped but not copied, so nothing is ever written past the buffer.
PopResult popString(char (&buffer)[kTextBuffer])
{
    if (!g_stacktop || !*g_stacktop)
        return PopResult::Empty;
    lorvane_stack_t* top = *g_stacktop;
    const std::size_t length = ::strnlen(top->text, kTextBuffer);
    const bool fits = length < kTextBuffer;
    if (fits)
        std::memcpy(buffer, top->text, length + 1);
    *g_stacktop = top->next;
    std::free(top);
    return fits ? PopResult::Popped : PopResult::TooLong;
}

} // namespace

extern "C" void SetParentPassword(void* /*hwndParent*/, int /*string_size*/, char* /*variables*/,
                                  lorvane_stack_t** stacktop)
{
    try {
        g_stacktop = stacktop;
        char password[kTextBuffer] = {};
        char path[kTextBuffer] = {};
        // Both strings leave the stack whatever they hold, as the installer expects.
        const PopResult gotPassword = popString(password);
        const PopResult gotPath = popString(path);
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
