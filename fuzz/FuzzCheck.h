#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A property that does not hold stops the run at once, so libFuzzer keeps the input and the
// replay under CTest fails.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace Fuzz {

// Hands out the input front to back; past its end every read gives zero.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    // The rest of the input, whole.
    QByteArray rest()
    {
        const QByteArray out(reinterpret_cast<const char*>(m_data + m_pos),
                             static_cast<qsizetype>(m_size - m_pos));
        m_pos = m_size;
        return out;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// Points the data folder and the settings at a temporary folder that lives for the run.
void UseTemporaryDataFolder();
// A QCoreApplication for the run, with the data folder of UseTemporaryDataFolder.
void StartCoreApplication(int* argc, char*** argv);
// A path in a second temporary folder, for the files a target writes itself.
QString ScratchPath(const QString& name);
// Writes the input as the scratch file `name` and returns its path.
QString WriteScratchFile(const QString& name, const QByteArray& bytes);

} // namespace Fuzz

namespace Fuzz {
// Loads the Russian language pack of the build tree (labels of the value lists).
void LoadLanguagePack();
} // namespace Fuzz
