#include "tav/printing/ServiceSize.h"

#include "platform/PrintDevice.h"
#include "platform/Prompt.h"
#include "tav/catalog/Caption.h"
#include "tav/core/ControlSurface.h"
#include "tav/core/RunState.h"
#include "tav/printing/PageUnits.h"
#include "tav/printing/PrintCommand.h"
#include "tav/printing/PrintSelection.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr PrintSize kSizes[] = {
    {"rb_sb", "ｻｰﾋﾞｽ版", 81, 120},
    {"rb_L", "Ｌ版", 88, 126},
    {"rb_LL", "ＬＬ(ｷｬﾋﾞﾈ)版", 126, 176},
    {"rb_8", "八つ切り(157×207mm)", 157, 207},
    {"rb_6", "六つ切り(194×245mm)", 194, 245},
    {"rb_4", "四つ切り(245×295mm)", 245, 295},
    {"rb_6w", "六つ切りﾜｲﾄﾞ(194X295mm)", 194, 295},
    {"rb_6ws", "六つ切りﾜｲﾄﾞ S(180X274mm)", 180, 274},
    {"rb_4w", "四つ切りﾜｲﾄﾞ(245X358mm)", 245, 358},
};

// The order in which the buttons are asked which one is chosen.
constexpr const char* kLookupOrder[] = {"rb_sb", "rb_L",   "rb_LL", "rb_8", "rb_6",
                                        "rb_6w", "rb_6ws", "rb_4",  "rb_4w"};

const PrintSize& chosenSize(const ControlSurface& c)
{
    for (const char* name : kLookupOrder)
        if (c.checked(QString::fromLatin1(name)))
            return *std::find_if(std::begin(kSizes), std::end(kSizes),
                                 [name](const PrintSize& s) { return qstrcmp(s.control, name) == 0; });
    return kSizes[0];
}

double wholeOrNone(double count) { return count < 1 ? 0 : count; }

}  // namespace

std::span<const PrintSize> PrintSizes() { return kSizes; }

PrintLayout ServiceSizeLayout(double areaWidthMm, double areaHeightMm, double widthMm, double heightMm)
{
    const PrintLayout upright{wholeOrNone(areaWidthMm / widthMm), wholeOrNone(areaHeightMm / heightMm)};
    const PrintLayout turned{wholeOrNone(areaWidthMm / heightMm), wholeOrNone(areaHeightMm / widthMm)};
    // The products of the real counts are W x H / (w x h) either way; only the
    // whole prints that fit tell the layouts apart. The counts stay real so
    // that each cell is exactly one print.
    const auto prints = [](const PrintLayout& l) { return std::floor(l.across) * std::floor(l.down); };
    return prints(turned) >= prints(upright) ? turned : upright;
}

void PrintServiceSize(PrintHost& host, bool preview)
{
    ControlSurface& c = host.controls();
    PreviewMode = false;
    AbortRequested = false;
    PrintChoices choices;
    choices.autoRotate = true;
    if (!ChooseTarget(host, preview))
        return;
    captionOptions() = CaptionOptions{};

    platform::PrintDevice& printer = host.printDevice();
    if (printer.caps().vertRes < printer.caps().horzRes)
        printer.setPortrait();
    const platform::DeviceCaps caps = printer.caps();
    const double d = caps.logPixelsX / kMmPerInch;
    const PrintSize& size = chosenSize(c);
    const PrintLayout layout =
        d > 0 ? ServiceSizeLayout(caps.horzRes / d, caps.vertRes / d, size.widthMm, size.heightMm)
              : PrintLayout{};
    if (layout.across < 1 || layout.down < 1) {
        platform::showInformation(
            QStringLiteral("現在の用紙には、%1ｻｲｽﾞで印刷できません。").arg(QString::fromUtf8(size.caption)));
        return;
    }

    PrintSelectionArgs args;
    args.columns = layout.across;
    args.rows = layout.down;
    args.cropMarks = c.checked(QStringLiteral("ch_tonboSV"));
    args.useMargins = false;
    args.header = false;
    args.footer = false;
    args.cutToFill = c.checked(QStringLiteral("ch_giseiSV"));
    PrintSelection(host, choices, args);
    host.file_list3Click();
}
