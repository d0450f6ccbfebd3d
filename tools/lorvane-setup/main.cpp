// lorvane-setup: asks for the parents' password twice and writes a fresh
// configuration file with it, the way the installer does.
//
// As root it also sets up a family install, where the child has an account of its own
// and the parents' group keeps the settings the child only reads:
//   lorvane-setup --family CHILD      the machine-wide folder, the child's folder, family.ini
//   lorvane-setup --add-parent USER   adds USER to the parents' group

#include "browsingdatabase.h"
#include "configmanager.h"
#include "cppsqliteexception.h"
#include "md5a.h"
#include "paths.h"
#include "setparentpassword.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

const char kParentsGroup[] = "lorvane";

const char kUsage[] = "用法: lorvane-setup                      设置家长密码\n"
                      "      lorvane-setup --family 孩子账户     (root) 为孩子的账户建立家庭安装\n"
                      "      lorvane-setup --add-parent 家长账户 (root) 把家长的账户加入 lorvane 组\n";

// Runs a system command without a shell; true when it ran and exited with 0.
bool runCommand(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        ::execvp(argv[0], argv.data());
        // root's search path may lack the system folder of these commands.
        const std::string inSbin = "/usr/sbin/" + args[0];
        ::execv(inSbin.c_str(), argv.data());
        std::_Exit(127);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool fail(const std::string& what)
{
    std::cerr << "错误: " << what << "\n";
    return false;
}

bool failErrno(const std::string& what, const std::string& path)
{
    return fail(what + " " + path + ": " + std::strerror(errno));
}

// Makes the folder when missing and gives it exactly this owner and mode.
bool makeFolder(const std::string& path, uid_t owner, gid_t group, mode_t mode)
{
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return failErrno("无法建立文件夹", path);
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return fail("不是文件夹: " + path);
    if (::chown(path.c_str(), owner, group) != 0)
        return failErrno("无法设置所有者", path);
    // chmod after chown: changing the owner clears the setgid bit.
    if (::chmod(path.c_str(), mode) != 0)
        return failErrno("无法设置权限", path);
    return true;
}

// Makes an empty file when missing (SQLite takes it as an empty database) and gives it
// exactly this owner and mode; an existing file keeps its contents.
bool makeFile(const std::string& path, uid_t owner, gid_t group, mode_t mode)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return failErrno("无法建立文件", path);
    const bool ok = ::fchown(fd, owner, group) == 0 && ::fchmod(fd, mode) == 0;
    ::close(fd);
    return ok || failErrno("无法设置文件的所有者和权限", path);
}

// Gives a file that is there the parents' group and this mode; a missing one is fine.
bool shareIfThere(const std::string& path, gid_t group, mode_t mode)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return errno == ENOENT || failErrno("无法读取", path);
    if (!S_ISREG(st.st_mode))
        return fail("不是普通文件: " + path);
    if (::chown(path.c_str(), st.st_uid, group) != 0 || ::chmod(path.c_str(), mode) != 0)
        return failErrno("无法设置文件的所有者和权限", path);
    return true;
}

// The parents' group, made when missing.
std::optional<gid_t> parentsGroup(bool create)
{
    if (const group* g = ::getgrnam(kParentsGroup))
        return g->gr_gid;
    if (!create) {
        fail(std::string("没有 ") + kParentsGroup + " 组, 请先运行 lorvane-setup --family");
        return std::nullopt;
    }
    if (!runCommand({"groupadd", "--system", kParentsGroup})) {
        fail(std::string("无法建立 ") + kParentsGroup + " 组 (groupadd)");
        return std::nullopt;
    }
    if (const group* g = ::getgrnam(kParentsGroup))
        return g->gr_gid;
    fail(std::string("建立后仍找不到 ") + kParentsGroup + " 组");
    return std::nullopt;
}

bool inGroup(const passwd& account, gid_t gid)
{
    if (account.pw_gid == gid)
        return true;
    int count = 64;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    while (::getgrouplist(account.pw_name, account.pw_gid, groups.data(), &count) < 0)
        groups.resize(static_cast<size_t>(count));
    groups.resize(static_cast<size_t>(count));
    for (const gid_t g : groups) {
        if (g == gid)
            return true;
    }
    return false;
}

// A name for an account that exists; a message and nothing otherwise.
std::optional<passwd> existingAccount(const std::string& name)
{
    if (!IsUsableAccountName(QString::fromStdString(name))) {
        fail("账户名不可用: " + name);
        return std::nullopt;
    }
    const passwd* found = ::getpwnam(name.c_str());
    if (!found) {
        fail("没有这个账户: " + name);
        return std::nullopt;
    }
    return *found;
}

bool requireRoot(const char* option)
{
    return ::geteuid() == 0 || fail(std::string(option) + " 需要 root 权限");
}

// Creates whatever of the family install is missing and sets every owner and mode, so
// running it again repairs them. family.ini comes last: until it is there the programs
// keep using the per-user files.
int setUpFamily(const std::string& childName)
{
    if (!requireRoot("--family"))
        return 2;
    const std::optional<passwd> child = existingAccount(childName);
    if (!child)
        return 1;
    if (child->pw_uid == 0) {
        fail("孩子的账户不能是 root");
        return 1;
    }
    const std::optional<gid_t> group = parentsGroup(true);
    if (!group)
        return 2;
    // In the parents' group the child could change everything this install protects.
    if (inGroup(*child, *group)) {
        fail("孩子的账户 " + childName + " 属于 " + kParentsGroup + " 组; 请先把它移出这个组");
        return 1;
    }

    const FamilyLayout before = ReadFamilyLayout(GetFamilyDirectory(), QString());
    const std::string folder = GetFamilyDirectory().toStdString();
    const std::string children = folder + "/children";
    const std::string childFolder = children + "/" + childName;
    const std::string childDatabase = childFolder + "/lorvane.db";
    const std::string sites = folder + "/sites.db";
    const std::string config = folder + "/lorvane.cfg";
    const bool made = QDir().mkpath(QFileInfo(QString::fromStdString(folder)).absolutePath())
        && makeFolder(folder, 0, *group, 02775) && makeFolder(folder + "/snapshots", 0, *group, 02775)
        && makeFolder(children, 0, *group, 02755) && makeFolder(childFolder, child->pw_uid, *group, 02770)
        && makeFile(childDatabase, child->pw_uid, *group, 0660) && makeFile(sites, 0, *group, 0664)
        && shareIfThere(config, *group, 0664) && shareIfThere(config + kLastGoodSuffix, *group, 0664);
    if (!made)
        return 2;

    const std::string familyFile = folder + "/" + kFamilyFileName;
    {
        QSaveFile file(QString::fromStdString(familyFile));
        const QByteArray text = "[family]\nchild=" + QByteArray::fromStdString(childName) + "\n";
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()
            || !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                    | QFileDevice::ReadOther)
            || !file.commit()) {
            fail("无法写入 " + familyFile + ": " + file.errorString().toStdString());
            return 2;
        }
    }
    // The tables, made now by root so that the child's first start finds them; the
    // files keep the owners given above.
    try {
        CppSQLiteDB db;
        OpenBrowsingDatabase(db, QString::fromStdString(childDatabase));
    } catch (const CppSQLiteException& e) {
        fail("无法建立数据库表: " + e.errorMessage().toStdString());
        // Without its tables the install is not ready: leave it off rather than half on.
        if (!before.on)
            ::unlink(familyFile.c_str());
        return 2;
    }
    if (!makeFile(sites, 0, *group, 0664) || !makeFile(childDatabase, child->pw_uid, *group, 0660))
        return 2;

    std::cout << "家庭安装已建立: " << folder << " (孩子的账户: " << childName << ")\n"
              << "家长的账户请用 lorvane-setup --add-parent 加入 " << kParentsGroup << " 组(重新登录后生效),\n"
              << "再运行 lorvane-setup 或家长控制面板设置家长密码。\n"
              << "各账户原有的个人文件(~/.config/lorvane, ~/.local/share/lorvane)没有移动, 家庭安装不再使用它们。\n";
    if (before.on && before.child != QString::fromStdString(childName))
        std::cout << "原来的孩子账户 " << before.child.toStdString() << " 的文件夹保留不动。\n";
    return 0;
}

int addParent(const std::string& userName)
{
    if (!requireRoot("--add-parent"))
        return 2;
    const std::optional<passwd> parent = existingAccount(userName);
    if (!parent)
        return 1;
    const FamilyLayout family = ReadFamilyLayout(GetFamilyDirectory(), QString());
    if (family.on && family.child == QString::fromStdString(userName)) {
        fail(userName + " 是孩子的账户, 不能加入家长组");
        return 1;
    }
    const std::optional<gid_t> group = parentsGroup(false);
    if (!group)
        return 2;
    if (!runCommand({"usermod", "-aG", kParentsGroup, userName})) {
        fail("无法把 " + userName + " 加入 " + kParentsGroup + " 组 (usermod)");
        return 2;
    }
    std::cout << userName << " 已加入 " << kParentsGroup << " 组, 重新登录后生效。\n";
    return 0;
}

int setPassword();

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return setPassword();
    if (args.size() == 2 && args[0] == "--family")
        return setUpFamily(args[1]);
    if (args.size() == 2 && args[0] == "--add-parent")
        return addParent(args[1]);
    std::cerr << kUsage;
    return 1;
}

namespace {

int setPassword()
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

} // namespace
