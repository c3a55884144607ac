#include "tav/printing/OnePerPage.h"

#include "platform/PrintDevice.h"
#include "platform/Prompt.h"
#include "tav/catalog/Caption.h"
#include "tav/core/ControlSurface.h"
#include "tav/core/RunState.h"
#include "tav/printing/PageUnits.h"
#include "tav/printing/PrintCommand.h"
#include "tav/printing/PrintSelection.h"

#include <optional>

namespace {

// The size boxes as millimetres; nullopt for an entry that is not a positive number.
std::optional<double> sizeEntry(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !(value > 0))
        return std::nullopt;
    return value;
}

}  // namespace

void PrintOnePerPage(PrintHost& host, bool preview)
{
    ControlSurface& c = host.controls();
    PreviewMode = false;
    PrintChoices choices;

    SetCaptionOptionsFrom(
        c, {"ch_fileNamePr1", "ch_kakuCyoshiPr1", "ch_gazouInfo1", "ch_satuDatePr1", "ch_prTitlePr1"});
    PrintSelectionArgs args;
    SetPageChoicesFrom(c, "Pr1", args);

    if (!ChooseTarget(host, preview))
        return;

    if (c.checked(QStringLiteral("ch_size"))) {
        const std::optional<double> width = sizeEntry(c.text(QStringLiteral("tx_w")));
        const std::optional<double> height = sizeEntry(c.text(QStringLiteral("tx_h")));
        if (!width || !height) {
            platform::showError(QStringLiteral("幅と高さには、0より大きい数値(mm)を入力してください。"));
            return;
        }
        const platform::DeviceCaps caps = host.printDevice().caps();
        const double d = caps.logPixelsX / kMmPerInch;
        if (d <= 0 || *width > caps.horzRes / d || *height > caps.vertRes / d) {
            platform::showInformation(QStringLiteral("指定されたサイズは用紙より大きいため印刷できません。"));
            return;
        }
        args.requestedWidthMm = *width;
        args.requestedHeightMm = *height;
        choices.stretch = !c.checked(QStringLiteral("ch_tateYoko"));
    }
    // Counts as it is checked, also while the box is disabled.
    choices.autoRotate = c.checked(QStringLiteral("ch_saiteki"));

    PrintSelection(host, choices, args);
    host.file_list3Click();
}
