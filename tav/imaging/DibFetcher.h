// The fallback decoder for files the imaging library cannot read: in the
// program it is the GV link (GvLinkFetcher), in tests a double.
#pragma once

#include "imgkit/DibHandle.h"

#include <QString>

class DibFetcher {
public:
    virtual ~DibFetcher() = default;
    // The decoded picture of the file at `fullPath`, owned by the caller, or
    // an empty handle.
    virtual imgkit::DibHandle fetch(const QString& fullPath) = 0;
};

// The program's one fallback decoder (not owned), installed by the main
// window once its GV link exists; nullptr until then, and after it is gone.
DibFetcher* GvFetcher();
void SetGvFetcher(DibFetcher* fetcher);
