#include "render/row_load.h"

#include <algorithm>

namespace verdel {

void TRowLoad::SetSize(int Threads, int NewHeight)
{
    Height = std::max(NewHeight, 0);
    Steps.assign(static_cast<size_t>(std::max(Threads, 1)), std::vector<int64_t>(static_cast<size_t>(Height) + 1, 0));
}

void TRowLoad::Clear(int Thread) { std::fill(Steps[Thread].begin(), Steps[Thread].end(), 0); }

void TRowLoad::Split(int Threads, int Bands, int* FirstRow) const
{
    // Total work first, then the rows where the running sum passes each share.
    int64_t total = 0, perRow = 0;
    for (int y = 0; y < Height; ++y) {
        for (int t = 0; t < Threads; ++t) perRow += Steps[t][y];
        total += perRow;
    }
    FirstRow[0] = 0;
    int band = 1;
    int64_t sum = 0;
    perRow = 0;
    for (int y = 0; y < Height && band < Bands; ++y) {
        for (int t = 0; t < Threads; ++t) perRow += Steps[t][y];
        sum += perRow;
        // Band b starts after the row where the sum reaches b shares.
        while (band < Bands && sum * Bands >= total * band) FirstRow[band++] = y + 1;
    }
    while (band <= Bands) FirstRow[band++] = Height;
}

} // namespace verdel
