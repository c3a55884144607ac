// The row kernels against the reference arithmetic: the portable loops and
// the AVX2 kernels must give the same bytes, for any size and any split of
// the target rows into bands.
#include "pelcalc/src/Resampler.h"
#include "pelcalc/tests/ReferenceResample.h"

#include <gtest/gtest.h>

#include <random>

using namespace pelcalc_test;

namespace {

class AllRows final : public pelcalc::RowSink {
public:
    bool rowFinished() override { return true; }
};

// Runs `operation` from `source` to width x height in the given bands.
Pixels resample(pelcalc::Operation operation, pelcalc::Kernels kernels, const Pixels& source, int width,
                int height, int bandRows = 0)
{
    Block from = makeBlock(source);
    Block to = makeBlock(Pixels(width, height, 0xCD));
    pelcalc::Picture src, dst;
    EXPECT_EQ(pelcalc::checkPicture(from.get(), src), pelcalc::PictureCheck::Ok);
    EXPECT_EQ(pelcalc::checkPicture(to.get(), dst), pelcalc::PictureCheck::Ok);
    const auto resampler = pelcalc::makeResampler(operation, src, dst, kernels);
    AllRows sink;
    const int band = bandRows > 0 ? bandRows : height;
    for (int first = 0; first < height; first += band)
        EXPECT_TRUE(resampler->run(first, std::min(first + band, height), sink));
    return readBlock(to.get());
}

struct Size {
    int width, height;
};

void expectAllKernelsMatch(pelcalc::Operation operation, const Pixels& source, Size to,
                           const Pixels& expected)
{
    SCOPED_TRACE(testing::Message() << source.width << "x" << source.height << " -> " << to.width << "x"
                                    << to.height);
    EXPECT_TRUE(resample(operation, pelcalc::Kernels::Portable, source, to.width, to.height) == expected);
    EXPECT_TRUE(resample(operation, pelcalc::Kernels::Best, source, to.width, to.height) == expected);
    EXPECT_TRUE(resample(operation, pelcalc::Kernels::Best, source, to.width, to.height, 3) == expected)
        << "split into bands of 3 rows";
}

}  // namespace

TEST(PelcalcKernels, AreaAverageMatchesReferenceForRandomSizes)
{
    std::mt19937 random(11);
    for (int run = 0; run < 60; ++run) {
        const int srcW = 2 + random() % 70, srcH = 2 + random() % 50;
        const Size to{1 + int(random() % (srcW - 1)), 1 + int(random() % (srcH - 1))};
        const Pixels source = randomPixels(srcW, srcH, run);
        expectAllKernelsMatch(pelcalc::Operation::AreaAverage, source, to,
                              referenceAreaAverage(source, to.width, to.height));
    }
}

TEST(PelcalcKernels, AreaAverageMatchesReferenceForStrongReductions)
{
    // Many taps per target column: the AVX2 kernel's generic group loop.
    for (const auto& [srcW, srcH, dstW, dstH] : {std::array{300, 40, 7, 3}, std::array{257, 9, 5, 8},
                                                 std::array{99, 98, 2, 97}, std::array{61, 33, 60, 1}}) {
        const Pixels source = randomPixels(srcW, srcH, srcW);
        expectAllKernelsMatch(pelcalc::Operation::AreaAverage, source, {dstW, dstH},
                              referenceAreaAverage(source, dstW, dstH));
    }
}

TEST(PelcalcKernels, BicubicMatchesReferenceForRandomSizes)
{
    std::mt19937 random(12);
    for (int run = 0; run < 60; ++run) {
        const int srcW = 1 + random() % 30, srcH = 1 + random() % 30;
        const Size to{srcW + int(random() % 40), srcH + 1 + int(random() % 40)};
        const Pixels source = randomPixels(srcW, srcH, 100 + run);
        expectAllKernelsMatch(pelcalc::Operation::Bicubic, source, to,
                              referenceBicubic(source, to.width, to.height));
    }
}

TEST(PelcalcKernels, NearestMatchesReferenceBothWays)
{
    std::mt19937 random(13);
    for (int run = 0; run < 40; ++run) {
        const int srcW = 1 + random() % 40, srcH = 1 + random() % 40;
        const Size to{1 + int(random() % 60), 1 + int(random() % 60)};
        const Pixels source = randomPixels(srcW, srcH, 200 + run);
        expectAllKernelsMatch(pelcalc::Operation::NearestReduce, source, to,
                              referenceNearest(source, to.width, to.height));
    }
}

TEST(PelcalcKernels, WideRowsMatchTheReference)
{
    // Wider than one chunk of the bicubic kernel, with odd remainders after
    // the area kernel's groups of columns.
    const Pixels wide = randomPixels(1301, 9, 300);
    expectAllKernelsMatch(pelcalc::Operation::AreaAverage, wide, {613, 4},
                          referenceAreaAverage(wide, 613, 4));
    const Pixels narrow = randomPixels(93, 5, 301);
    expectAllKernelsMatch(pelcalc::Operation::Bicubic, narrow, {389, 11}, referenceBicubic(narrow, 389, 11));
}
