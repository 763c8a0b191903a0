// Feeds arbitrary bytes to the run window's core as one of the four tools'
// output: the line decoder, the tool's parser, the disk map, the summary and
// the verdict. Besides crashes and sanitizer reports, it stops on a broken
// promise: no line holds more than the decoder's bound, the lines' raw
// bytes give back what the tool wrote, the map never grows past a disk, and
// every run ends with a verdict.
//
// The first byte picks the tool and how the rest is cut into chunks; a
// quarter of the chunks go to stderr.

#include "core/run/runanalysis.h"

#include <QByteArrayView>

#include <cstdint>
#include <cstdlib>

using namespace ferncastle;

namespace {

const char *const tools[] = {"cw2dmk", "dmk2cw", "dmk2jv3", "jv2dmk"};

void check(const RunAnalysis &analysis, const QList<ShownLine> &lines, QByteArray &kept)
{
    const DiskMap &map = analysis.map();
    if (map.tracks() < 0 || map.tracks() > 256 || map.sides() < 0 || map.sides() > 2
        || map.cellsDone() > map.cellsPlanned())
        std::abort();
    for (const ShownLine &line : lines) {
        if (line.raw.size() > LineDecoder::maxLineBytes)
            std::abort();
        if (line.stream == OutputStream::Stdout)
            kept += line.raw + (line.cut ? "" : "\n");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const auto control = data[0];
    const QByteArrayView bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const qsizetype chunk = 1 + (control >> 2) % 61;
    RunAnalysis analysis{QString::fromLatin1(tools[control % 4])};
    QByteArray stdoutBytes;
    QByteArray kept;
    for (qsizetype from = 0, index = 0; from < bytes.size(); from += chunk, ++index) {
        const QByteArrayView piece = bytes.sliced(from, qMin(chunk, bytes.size() - from));
        const OutputStream stream = index % 4 == 3 ? OutputStream::Stderr : OutputStream::Stdout;
        if (stream == OutputStream::Stdout)
            stdoutBytes += piece;
        check(analysis, analysis.feed(stream, piece), kept);
        (void)analysis.openLine(stream);
    }
    RunEnd end;
    end.code = control & 0x80 ? 0 : 1;
    check(analysis, analysis.finish(end), kept);
    if (analysis.verdict().sentence.isEmpty())
        std::abort();
    // Carriage returns end lines without being kept; without them the
    // record is exact.
    const auto ended = [](const QByteArray &text) { return text.endsWith('\n') ? text : text + '\n'; };
    if (!stdoutBytes.contains('\r') && !stdoutBytes.isEmpty() && ended(kept) != ended(stdoutBytes))
        std::abort();
    return 0;
}
