// The arithmetic that laying the plan cannot do without, and nothing else:
// one first-order rotation step per metre (the heading turned by the
// curvature, four multiplications and two additions, and the position moved
// along it, two additions), for METRES metres. With the time of copying the
// compiled files it makes the floor that bench/run sets a compilation
// against.
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const long metres = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1000000;
    // Read as unknowns, so that no multiplication is left out and the loop
    // cannot be worked out while compiling.
    volatile double cosine = 1.0;
    volatile double sine = 1.0 / 2000.0;
    const double c = cosine;
    const double s = sine;
    double dx = 0, dy = 1, x = 0, y = 0;
    for (long m = 0; m < metres; ++m) {
        const double turned_x = c * dx + s * dy;
        const double turned_y = c * dy - s * dx;
        dx = turned_x;
        dy = turned_y;
        x += dx;
        y += dy;
    }
    std::printf("%.17g %.17g\n", x, y);  // the result is used
    return 0;
}
