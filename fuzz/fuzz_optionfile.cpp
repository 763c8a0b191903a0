// Feeds arbitrary bytes to the options-file reader and arbitrary text to the
// numeric rules and to the building of every tool run (typed parameters,
// port, tracks and retries). Besides crashes and sanitizer reports, it stops on a broken
// promise: a file the reader accepts must write back and read back to the
// same option set, and a text that rounds to a 16-bit number must be a plain
// decimal number.

#include "core/options/numericrules.h"
#include "core/settings/optionfile.h"
#include "core/tools/toolrun.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

using namespace ferncastle;

namespace {

void checkReader(const QByteArray &bytes)
{
    const DecodedOptionFile decoded = decodeOptionFile(bytes);
    if (!decoded.options) {
        if (decoded.error.reason.isEmpty() || decoded.error.line < 0
            || decoded.error.line > OptionFileLineCount)
            std::abort();
        return;
    }
    const EncodedOptionFile encoded = encodeOptionFile(*decoded.options);
    if (!encoded.error.isEmpty())
        std::abort();
    const DecodedOptionFile again = decodeOptionFile(encoded.bytes);
    if (!again.options || *again.options != *decoded.options)
        std::abort();
}

void checkNumericRules(const QString &text)
{
    const bool number = isPlainDecimal(text);
    const std::optional<qint16> value = roundedToInt16(text);
    if (value && !number)
        std::abort();
}

// The same text in every box. A run that may start must keep the chosen
// file as its own last argument.
void checkRunBuilding(const QString &text)
{
    RunInputs inputs;
    for (GroupState &group : inputs.options.groups)
        group = {Ticked, int(text.size() % 5) - 1, text};
    inputs.options.extraParms = text;
    inputs.optionalParms = text;
    const QString file = QLatin1String(unchosenFile);
    for (const ToolRow &row : toolRows()) {
        const PlannedRun run = planToolRun(row.id, inputs, file);
        if (run.command.arguments.isEmpty() || run.command.arguments.last() != file)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto *chars = reinterpret_cast<const char *>(data);
    const QByteArray bytes(chars, qsizetype(size));
    checkReader(bytes);
    checkNumericRules(QString::fromUtf8(bytes));
    checkRunBuilding(QString::fromUtf8(bytes));
    // Raw UTF-16 as well, so that unpaired surrogates and every code unit
    // reach the rules.
    checkNumericRules(QString(reinterpret_cast<const QChar *>(bytes.constData()),
                              bytes.size() / 2));
    return 0;
}
