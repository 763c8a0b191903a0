#include "core/options/optionhelp.h"

#include <array>

namespace ferncastle {

namespace {

const std::array<OptionHelp, GroupCount> table = {{
    {"-d: the drive unit on the CatWeasel's cable that cw2dmk reads and dmk2cw writes.",
     "0 or 1.",
     "cw2dmk tries drive 0, then drive 1 (-d -1); dmk2cw writes to drive 0."},
    {"-p: which CatWeasel: the card number of an MK3 or MK4 (PCI) card, or the I/O port base of an "
     "MK1 (ISA) card, in hexadecimal.",
     "0 to F for a card number, 220 to 388 for an MK1 port.",
     "Both use 0: the first PCI card found, else an MK1 at port 320."},
    {"-k: the drive and the medium. 1: 5.25\" SD/DD disk in a 1.2 MB drive; 2: 5.25\" SD/DD disk in a "
     "360 KB drive, or a 3.5\" SD/DD disk; 3: 5.25\" HD disk, or an 8\" SD/DD disk; 4: 3.5\" HD disk.",
     "The four entries, -k1 to -k4.",
     "cw2dmk detects the kind from the disk (it needs the index hole for that); dmk2cw guesses it from "
     "the drive's speed and the image's track length."},
    {"-m: step multiplier. 2 steps the head twice per track, to read or write a 40- or 35-track disk in "
     "an 80-track drive.",
     "1 or 2.",
     "cw2dmk guesses (2 for kind 1, else 1) and checks the guess on the first tracks; dmk2cw steps "
     "once (-m1)."},
    {"-t: the number of tracks per side cw2dmk reads. Not given to dmk2cw, which writes the tracks the "
     "image holds.",
     "2 to 86.",
     "cw2dmk reads on and stops early where the track after 35, 40, 77 or 80 has no valid sector or "
     "repeats the one before."},
    {"-s: the sides cw2dmk reads; for dmk2cw, the most sides the drive can write (1 for a "
     "single-headed drive, or side 1 of the image overwrites side 0).",
     "1 or 2.",
     "cw2dmk reads 2 sides when side 1 looks formatted and falls back to 1 when it holds no valid "
     "sector; dmk2cw writes every side the image holds (-s2)."},
    {"-e: cw2dmk decodes only FM (single density), only MFM (double or high density) or only RX02 "
     "(DEC). It can help on a noisy disk. Not given to dmk2cw.",
     "FM (-e1), MFM (-e2) or RX02 (-e3).",
     "cw2dmk tells FM, MFM and RX02 apart by itself, sector by sector, so tracks that mix FM and MFM "
     "read too."},
    {"-x: how many more times cw2dmk reads a track when a sector ID or its data is missing or has a "
     "CRC error. More retries can rescue an old disk; fewer speed up a copy-protected one. Not given "
     "to dmk2cw.",
     "0 to 100 (0: read each track once).",
     "cw2dmk retries up to 4 times."},
}};

} // namespace

const OptionHelp &optionHelp(GroupIndex group)
{
    return table[group];
}

QString optionToolTip(GroupIndex group)
{
    const OptionHelp &help = table[group];
    return QStringLiteral("%1\nValues: %2\nNot ticked: %3")
        .arg(QString::fromUtf8(help.does), QString::fromUtf8(help.range), QString::fromUtf8(help.unticked));
}

QString additionalParametersToolTip()
{
    return QStringLiteral("More options for cw2dmk (Disk to Image) and dmk2cw (Image to Disk), typed as on "
                          "their command lines after the ticked ones: for example -v3 for more detail, "
                          "or -k2 -R disk.log for cw2dmk to replay a level 7 log instead of reading a "
                          "disk.");
}

QString optionalParametersToolTip()
{
    return QStringLiteral("Options for dmk2jv3 (DMK to JV: -v) and jv2dmk (JV to DMK: -v, -j, -k, -i, -w, "
                          "-l), typed as on their command lines: for example -j1 for a JV1 image, or -k3 "
                          "for an 8\" disk.");
}

} // namespace ferncastle
