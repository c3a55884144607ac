#include "tav/imaging/DibFetcher.h"

namespace {
DibFetcher* g_fetcher = nullptr;
}

DibFetcher* GvFetcher() { return g_fetcher; }

void SetGvFetcher(DibFetcher* fetcher) { g_fetcher = fetcher; }
