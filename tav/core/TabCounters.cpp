#include "tav/core/TabCounters.h"

namespace {

constexpr TabCounter kCounters[] = {
    {"UpDown1", "ed_jpg_comp", 0, 100, 60},
    {"UpDown2", "tx_outW", 1, 32767, 320},
    {"UpDown3", "tx_outH", 1, 32767, 240},
    {"UpDown5", "suYohaku", 0, 100, 0},
    {"UpDown6", "tx_AL_yohaku", 0, 20, 0},
    {"UpDown7", "su_jpg_comp", 0, 100, 100},
    {"ud_akarusa", "tx_akarusa", -100, 100, 0},
    {"ud_r", "tx_r", -100, 100, 0},
    {"ud_g", "tx_g", -100, 100, 0},
    {"ud_b", "tx_b", -100, 100, 0},
    {"ud_komaHabaMM", "tx_komaHabaMM", 10, 190, 40},
    {"ud_komaYohaku", "tx_komaYohaku", 0, 20, 0},
    {"ud_tx_MaxXnHt", "tx_MaxXnHt", 1, 100, 5},
    {"ud_tx_pgWidthHt", "tx_pgWidthHt", 10, 2000, 512},
    {"ud_tx_samuW_ht", "tx_samuW_ht", 5, 1024, 144},
    {"ud_tx_samuH_ht", "tx_samuH_ht", 5, 1024, 94},
};

}  // namespace

std::span<const TabCounter> tabCounters() { return kCounters; }

const TabCounter* tabCounter(const QString& name)
{
    for (const TabCounter& c : kCounters)
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}
