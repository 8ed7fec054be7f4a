// Single-item files of every kind: the first byte picks the kind, the rest
// is the file. As project files they are not canonical, and an item keeps
// its own identifier and name: an item read must write a file that reads as
// the same item and writes again the very same bytes.
#include "fuzzcheck.h"
#include "model/itemfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const ItemKind kind = allItemKinds[data[0] % std::size(allItemKinds)];
    const Project project;
    const QSharedPointer<Dataset> item = project.makeItem(kind);
    if (ItemFile::read(fuzz::scratchFile("read", fuzz::bytes(data + 1, size - 1)), *item) != ItemFileResult::Ok)
        return 0;
    const QString written = fuzz::scratchPath("written");
    fuzz::require(ItemFile::write(written, *item), "an item read is written");
    const QSharedPointer<Dataset> again = project.makeItem(kind);
    fuzz::require(ItemFile::read(written, *again) == ItemFileResult::Ok, "a written item reads");
    fuzz::require(fuzz::sameItem(kind, *item, *again), "a written item reads as the same item");
    const QString rewritten = fuzz::scratchPath("rewritten");
    fuzz::require(ItemFile::write(rewritten, *again) && fuzz::fileBytes(rewritten) == fuzz::fileBytes(written),
                  "an item read again writes the same bytes");
    return 0;
}
