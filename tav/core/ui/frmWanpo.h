// The one-point hint window TfrWanpo "ﾜﾝﾎﾟｲﾝﾄ": one usage tip at a time from
// the hint file, the next on request, and the switch that opens it at start-up.
// Modeless and on top; at most one exists, and it is destroyed when closed.
#pragma once

#include "tav/core/AppSettings.h"
#include "tav/core/HintTips.h"

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QPlainTextEdit;

class TfrWanpo : public QWidget {
    Q_OBJECT
public:
    // Shows a random tip of the file at `hintPath`; the start-up switch shows
    // and, on closing, stores `settings.showHintsAtStart`.
    TfrWanpo(AppSettings& settings, const QString& hintPath, QWidget* parent = nullptr);

    // Opens the hint window: creates it when `window` holds none, otherwise
    // only brings it to the front (its tip stays). `window` is cleared when the
    // window is destroyed.
    static TfrWanpo* open(QPointer<TfrWanpo>& window, QWidget* owner, AppSettings& settings,
                          const QString& hintPath);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void btNeClick();

    AppSettings& m_settings;
    HintTips m_tips;
    QPlainTextEdit* m_tip = nullptr;
    QCheckBox* m_showAtStart = nullptr;
};
