// Without libFuzzer a fuzz target runs through this driver: every file of
// the folders given is one input, so that the checked-in corpus, every input
// that once failed among it, is a test of the normal build.
#include "fuzzcheck.h"

#include <QDir>

int main(int argc, char* argv[])
{
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const QDir folder(QString::fromLocal8Bit(argv[i]));
        fuzz::require(folder.exists(), "the corpus folder exists");
        for (const QFileInfo& file : folder.entryInfoList(QDir::Files, QDir::Name)) {
            std::printf("%s\n", qPrintable(file.fileName()));
            std::fflush(stdout);
            const QByteArray input = fuzz::fileBytes(file.filePath());
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.constData()), size_t(input.size()));
            ++inputs;
        }
    }
    std::printf("%d inputs replayed\n", inputs);
    // An empty corpus tests nothing: a wrong path, most likely.
    return inputs > 0 ? 0 : 1;
}
