// lorvane-setup: asks for the parents' password twice and writes a fresh
// configuration file with it, the way the installer does.

#include "configmanager.h"
#include "md5a.h"
#include "paths.h"
#include "setparentpassword.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include <termios.h>
#include <unistd.h>

namespace {

// One line from standard input without its line ending; nothing at end of input.
std::optional<std::string> readLine()
{
    std::string line;
    if (!std::getline(std::cin, line))
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

std::optional<std::string> askHidden(const char* prompt)
{
    termios old {};
    const bool terminal = ::isatty(STDIN_FILENO) && ::tcgetattr(STDIN_FILENO, &old) == 0;
    if (terminal) {
        termios quiet = old;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    // Asked only once echo is off: what is typed after the prompt is neither shown nor
    // flushed away with what came before it.
    std::cerr << prompt << std::flush;
    std::optional<std::string> line = readLine();
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &old);
        std::cerr << '\n';
    }
    return line;
}

lorvane_stack_t* makeNode(const std::string& text, lorvane_stack_t* next)
{
    auto* node = static_cast<lorvane_stack_t*>(std::malloc(sizeof(lorvane_stack_t) + text.size()));
    if (!node)
        return nullptr;
    node->next = next;
    std::memcpy(node->text, text.c_str(), text.size() + 1);
    return node;
}

} // namespace

int main()
{
    const std::optional<std::string> first = askHidden("请输入家长密码: ");
    const std::optional<std::string> second = askHidden("请再输入一次: ");
    if (!first || first->empty()) {
        std::cerr << "错误: 密码不能为空!\n";
        return 1;
    }
    if (!second || *first != *second) {
        std::cerr << "错误: 两次密码不相同!\n";
        return 1;
    }
    if (first->size() > 259) {
        std::cerr << "错误: 密码太长, 最多 259 个字节!\n";
        return 1;
    }

    const std::string path = GetConfigerPathName().toStdString();
    // The path goes in first, the password last: the entry point pops the password first.
    lorvane_stack_t* stack = makeNode(path, nullptr);
    stack = stack ? makeNode(*first, stack) : nullptr;
    if (!stack) {
        std::cerr << "错误: 内存不足!\n";
        return 1;
    }
    SetParentPassword(nullptr, 260, nullptr, &stack);
    while (stack) {
        lorvane_stack_t* next = stack->next;
        std::free(stack);
        stack = next;
    }

    // The entry point tells nothing: read the file back to know.
    CConfigManager check;
    const bool stored = check.SetConfigPathName(path.c_str()) == 0 && check.LoadConfigFromFile()
        && check.m_record.m_bPasswordSet == 1
        && CMd5A().MDString(first->c_str()) == QByteArray(check.m_record.m_szPassword);
    if (!stored) {
        std::cerr << "错误: 无法写入配置文件 " << path << "\n";
        return 2;
    }
    std::cout << "家长密码已设置。配置文件: " << path << "\n";
    return 0;
}
