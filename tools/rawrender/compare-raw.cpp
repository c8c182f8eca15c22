// compare-raw A.f32 B.f32: the largest absolute difference between two raw float files
// of the same length; exit 1 when the lengths differ.
#include "RawFile.h"

#include <cmath>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<float> a, b;
    if (argc != 3 || !readRawFile(argv[1], a) || !readRawFile(argv[2], b) || a.size() != b.size())
    {
        std::fprintf(stderr, "compare-raw: need two readable files of the same length\n");
        return 1;
    }
    double largest = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i)
        largest = std::fmax(largest, std::fabs(static_cast<double>(a[i]) - b[i]));
    std::printf("%.3g\n", largest);
    return 0;
}
