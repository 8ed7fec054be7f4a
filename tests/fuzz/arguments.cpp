// The companion's command line: the input's lines are the words after the
// program's name. A word list is refused only as a usage error; a request
// accepted, written back as words (flags, then options with their values,
// then the arguments after "--"), reads as the same request; and what is
// checked only once the project is read (text options, the selection, the
// columns) keeps its bounds or is refused as a usage error.
#include "cli/arguments.h"
#include "fuzzcheck.h"

#include <algorithm>
#include <functional>

namespace {
// Runs a check made later; a refusal must be a usage error.
void later(const std::function<void()>& check)
{
    try {
        check();
    } catch (const Failure& failure) {
        fuzz::require(failure.code == BadUsage && !failure.message.isEmpty(), "a later refusal is a usage error");
    }
}

QStringList wordsOf(const Request& request)
{
    QStringList words {request.command};
    for (const QString& flag : request.flags)
        words.append(QStringLiteral("--") + flag);
    for (auto value = request.values.cbegin(); value != request.values.cend(); ++value)
        words.append(QStringLiteral("--%1=%2").arg(value.key(), value.value()));
    return words + QStringList {QStringLiteral("--")} + request.positional;
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList words = QString::fromUtf8(fuzz::bytes(data, size)).split(QLatin1Char('\n'));
    Request request;
    try {
        request = parseArguments(words);
    } catch (const Failure& failure) {
        fuzz::require(failure.code == BadUsage && !failure.message.isEmpty(), "a refused command line is a usage error");
        return 0;
    }
    if (request.action != Request::Run) {
        fuzz::require(!request.shownText().isEmpty(), "help and version show text");
        return 0;
    }
    const Request again = parseArguments(wordsOf(request));
    fuzz::require(again.action == Request::Run && again.command == request.command
                      && again.positional == request.positional && again.values == request.values
                      && again.flags == request.flags,
                  "a request written back reads as the same request");

    for (ItemKind kind : allItemKinds) {
        for (int animation : {-1, 0}) {
            later([&] {
                const ExportDataOptions options = request.exportOptions({kind, 0, animation, -1});
                fuzz::require(options.indentSpaces >= 0 && options.indentSpaces <= 256 && options.dataPerLine >= 1
                                  && options.dataPerLine <= 2048,
                              "text options keep their bounds");
            });
        }
    }
    later([&] {
        const QList<int> numbers = request.selectedNumbers();
        fuzz::require(std::all_of(numbers.cbegin(), numbers.cend(), [](int number) { return number >= 0; }),
                      "selected numbers are indexes");
    });
    later([&] {
        const QList<CellPos> cells = request.selectedCells();
        fuzz::require(std::all_of(cells.cbegin(), cells.cend(), [](const CellPos& cell) { return cell.x >= 0 && cell.y >= 0; }),
                      "selected cells lie on a screen");
    });
    later([&] {
        const int columns = request.columns(1);
        fuzz::require(columns >= 1 && columns <= 4096, "columns keep their bounds");
    });
    return 0;
}
