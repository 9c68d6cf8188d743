// A shared library without A6_DLLAPI, which the host must refuse as a plug-in.
extern "C" __attribute__((visibility("default"))) int VTR3Initialize() {
    return 0;
}
