// Runs the fuzz target over stored inputs (files, or folders of files), so the
// corpus is checked by every build, with any compiler.

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {
int runFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
    }
    const QByteArray bytes = file.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                           std::size_t(bytes.size()));
    return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    int inputs = 0;
    int failures = 0;
    for (int a = 1; a < argc; ++a) {
        const QFileInfo info(QString::fromLocal8Bit(argv[a]));
        if (info.isDir()) {
            const QDir dir(info.filePath());
            for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
                failures += runFile(dir.filePath(name));
                ++inputs;
            }
        } else {
            failures += runFile(info.filePath());
            ++inputs;
        }
    }
    std::printf("%d inputs replayed\n", inputs);
    if (inputs == 0) {
        std::fprintf(stderr, "no inputs found\n");
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
