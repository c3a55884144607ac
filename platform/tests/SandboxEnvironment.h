// The sandbox folder every platform test runs in, and a fresh sub-folder per test.
#pragma once

#include <QString>

namespace platform::test {

// The sandbox folder of this test run (TAV_SANDBOX).
QString sandbox();

// A new empty folder inside the sandbox.
QString freshFolder();

}  // namespace platform::test
