// One header, included by a target that may or may not link its library
// (tests/layering/CMakeLists.txt).
#include TESS_PROBE_HEADER

int main()
{
    return 0;
}
