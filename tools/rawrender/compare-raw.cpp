// compare-raw A.f32 B.f32: the largest absolute difference between two raw float files
// of the same length; exit 1 when the lengths differ.
#include <cmath>
#include <cstdio>
#include <vector>

namespace
{
bool readFile(const char* path, std::vector<float>& samples)
{
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
        return false;
    float buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, sizeof(float), 4096, file)) > 0)
        samples.insert(samples.end(), buffer, buffer + got);
    std::fclose(file);
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    std::vector<float> a, b;
    if (argc != 3 || !readFile(argv[1], a) || !readFile(argv[2], b) || a.size() != b.size())
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
