// Which kernels run: the processor's widest instruction set, the number of
// threads and the sizes at which packing and threads start to pay.
#include "platform/cores.h"
#include "value/dense.h"
#include "value/dense_isa.h"

namespace dense {

const char* isaName(Isa isa) {
    switch (isa) {
    case Isa::Avx512: return "AVX-512";
    case Isa::Avx2: return "AVX2";
    case Isa::Sse2: break;
    }
    return "SSE2";
}

Isa processorIsa() {
    // The run-time test also checks that the operating system saves the
    // wide registers.
    static const Isa widest = [] {
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx512f")) return Isa::Avx512;
        if (__builtin_cpu_supports("avx2")) return Isa::Avx2;
        return Isa::Sse2;
    }();
    return widest;
}

const Kernels& kernels(Isa isa) {
    switch (isa) {
    case Isa::Avx512: return avx512Kernels();
    case Isa::Avx2: return avx2Kernels();
    case Isa::Sse2: break;
    }
    return sse2Kernels();
}

Plan defaultPlan() {
    const int cores = usableCores();
    Plan p;
    p.isa = processorIsa();
    p.threads = cores > 8 ? 8 : cores;
    p.packedFrom = 10 * 10 * 10;
    p.threadedFrom = std::int64_t{1} << 20;
    p.splitFrom = 20 * 20;
    p.stepThreadedFrom = std::int64_t{1} << 16;
    p.kc = 512;
    p.nc = 256;
    p.mc = 64;
    return p;
}

Plan& plan() {
    static Plan current = defaultPlan();
    return current;
}

}  // namespace dense
