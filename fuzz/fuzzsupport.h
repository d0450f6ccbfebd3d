#pragma once

// What every harness shares: splitting one input into parts, a scratch folder, the
// application object Qt's pictures need, and a check that stops the run on a broken
// property so that libFuzzer (or the corpus replay) reports the input.

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace Fuzz {

// The input cut at every zero byte: seeds stay readable files with "\0" between the
// texts a harness needs. Missing parts are empty.
class Parts
{
public:
    Parts(const uint8_t* data, size_t size);
    QByteArray at(int index) const { return index < m_parts.size() ? m_parts.at(index) : QByteArray(); }
    // The first byte of part `index` as a small number, 0 when the part is empty.
    int number(int index) const;
    int count() const { return int(m_parts.size()); }

private:
    QList<QByteArray> m_parts;
};

// A folder of this process, made on first use and removed at exit.
QString ScratchFolder();
// Writes `bytes` to the file (whole, replacing it); stops the run when it cannot.
void WriteFile(const QString& path, const QByteArray& bytes);

// A QGuiApplication on the offscreen platform, made once. (Every harness drops the
// product's warnings about damaged input: they come by the million here.)
void EnsureApplication();

[[noreturn]] void Fail(const char* condition, const char* file, int line, const QString& detail);

} // namespace Fuzz

#define FUZZ_CHECK(condition, detail)                                                                      \
    do {                                                                                                   \
        if (!(condition))                                                                                  \
            ::Fuzz::Fail(#condition, __FILE__, __LINE__, (detail));                                        \
    } while (0)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
