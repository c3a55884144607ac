// The work tabs' counters: each up-down's name, the edit field that shows its
// position, its limits and its initial position. The tabs build their
// counters from this table, and tavbatch, which has no window, starts its
// controls from it, so the two never disagree.
#pragma once

#include <QString>

#include <span>

struct TabCounter {
    const char* name;
    const char* edit;
    int minimum;
    int maximum;
    int initial;
};

std::span<const TabCounter> tabCounters();
// The counter called `name`, or null when no tab has one.
const TabCounter* tabCounter(const QString& name);
