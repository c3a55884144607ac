// The GV link as the loader's fallback decoder: makes sure GV runs and
// accepted its start commands, then fetches the picture through it.
#pragma once

#include "tav/imaging/DibFetcher.h"
#include "tav/imaging/gvDDE6.h"

class GvLinkFetcher : public DibFetcher {
public:
    explicit GvLinkFetcher(TgvDDE& gv) : m_gv(gv) {}

    imgkit::DibHandle fetch(const QString& fullPath) override
    {
        if (!m_gv.StartGv())
            return {};
        return m_gv.FetchDib(fullPath);
    }

private:
    TgvDDE& m_gv;
};
