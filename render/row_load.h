// The drawing work of a frame by rows, and the bands of rows that share it evenly.
#pragma once

#include <cstdint>
#include <vector>

namespace verdel {

// Gathers, while a frame's faces are projected, how much drawing each row
// of the buffer will take, each thread into its own counts; then cuts the
// rows into bands of about equal work, one per drawing thread. An object
// is counted over the rows it reaches: each of its faces costs a few units
// for itself and one for each of those rows. The bands only share out the
// work: they never change a pixel.
class TRowLoad {
public:
    // What a face costs beyond its rows, in rows.
    static constexpr int64_t FaceCost = 4;

    // Room for Threads threads' counts over Height rows (allocates).
    void SetSize(int Threads, int Height);

    // Starts thread t's counts of a frame.
    void Clear(int Thread);

    // An object of Faces faces in thread t's share reaching rows First..Last (0 <= First <= Last < Height).
    void AddObject(int Thread, int First, int Last, int Faces)
    {
        // Differences from row to row (the counts are summed up the rows when
        // cut), in sixteenths of a unit.
        const int64_t rows = Last - First + 1;
        const int64_t perRow = 16 * Faces * (rows + FaceCost) / rows;
        int64_t* steps = Steps[Thread].data();
        steps[First] += perRow;
        steps[Last + 1] -= perRow;
    }

    // Cuts rows 0..Height-1 into Bands bands of about equal work by the
    // counts of threads 0..Threads-1: band b is rows FirstRow[b]..FirstRow[b + 1] - 1,
    // and FirstRow[Bands] is Height. Bands may be empty.
    void Split(int Threads, int Bands, int* FirstRow) const;

private:
    std::vector<std::vector<int64_t>> Steps; // per thread, Height + 1 entries
    int Height = 0;
};

} // namespace verdel
