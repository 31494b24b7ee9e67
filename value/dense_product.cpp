// The matrix product. Small products and row or column vectors run the plain
// loop. Larger ones are cut into blocks (kc steps of k, nc columns, mc rows)
// whose operands are packed into panels that the tiles of the chosen
// instruction set read in order; every tile adds its block of k to the sums
// held in c, so each element still sums its products for k = 0, 1, ... in
// turn. The blocks of rows are shared among the team's threads, each packing
// its own rows of a; how many threads run, and which takes which block,
// changes no result.
//
// Operands whose imaginary parts are all exactly zero and whose parts are all
// finite run on their real parts alone. Each term a.re b.re - a.im b.im is
// then a.re b.re, or a zero of either sign where that product is zero; since
// every sum starts from +0 it can never become -0, so adding either zero
// gives the same sum. The imaginary terms are zeros and leave the imaginary
// sums at +0, where they started.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstddef>
#include <vector>

#include "platform/interrupt.h"
#include "value/dense.h"
#include "value/dense_isa.h"
#include "value/dense_split.h"
#include "value/dense_team.h"

namespace dense {

bool realAndFinite(const Complex* a, std::size_t count) {
    // In blocks, so that complex operands are seen at once and real ones are
    // read at full speed.
    for (std::size_t i = 0; i < count; i += 256) {
        const std::size_t end = std::min(count, i + 256);
        bool ok = true;
        for (std::size_t j = i; j < end; ++j) ok &= a[j].im == 0.0 && std::isfinite(a[j].re);
        if (!ok) return false;
    }
    return true;
}

namespace {

// Row by row, adding a(i, k) b(k, j) for k = 0, 1, ... into each element of
// the row in turn; both matrices are walked in storage order.
void plainProduct(const Complex* a, const Complex* b, Complex* c, std::int32_t m, std::int32_t k, std::int32_t n) {
    for (std::int32_t i = 0; i < m; ++i) {
        Complex* out = c + static_cast<std::size_t>(i) * n;
        const Complex* ar = a + static_cast<std::size_t>(i) * k;
        for (std::int32_t kk = 0; kk < k; ++kk) {
            const Complex p = ar[kk];
            const Complex* br = b + static_cast<std::size_t>(kk) * n;
            for (std::int32_t j = 0; j < n; ++j) {
                out[j].re += p.re * br[j].re - p.im * br[j].im;
                out[j].im += p.re * br[j].im + p.im * br[j].re;
            }
        }
    }
}

// One product cut into blocks; work() runs the rows of one thread.
class BlockedProduct {
public:
    BlockedProduct(const Complex* a, const Complex* b, Complex* c, std::int32_t m, std::int32_t k, std::int32_t n,
                   bool real, const Kernels& kernels, const Plan& plan)
        : a_(a), b_(b), c_(c), m_(m), k_(k), n_(n), real_(real), kernels_(kernels),
          mr_(real ? kernels.realMr : kernels.mr), nr_(real ? kernels.realNr : kernels.nr),
          parts_(real ? 1 : 2), kc_(std::min<std::int64_t>(plan.kc, k)),
          nc_(roundUp(std::min<std::int64_t>(plan.nc, n), nr_)), mc_(roundUp(std::min<std::int64_t>(plan.mc, m), mr_)) {}

    // Runs the product, its blocks of rows shared among the team. Returns
    // false when stopped by an interrupt request.
    bool run(Team& team) const {
        // All scratch is taken here, so a member never allocates: the B block
        // all read, and an A block for each member.
        AlignedBuffer bpack = alignedDoubles(static_cast<std::size_t>(nc_ * kc_ * parts_));
        std::vector<AlignedBuffer> apacks;
        for (int t = 0; t < team.size(); ++t) apacks.push_back(alignedDoubles(static_cast<std::size_t>(mc_ * kc_ * parts_)));
        std::atomic<bool> stop{false};
        for (std::int64_t pc = 0; pc < k_; pc += kc_) {
            const std::int64_t kc = std::min(kc_, k_ - pc);
            for (std::int64_t jc = 0; jc < n_; jc += nc_) {
                const std::int64_t nc = std::min(nc_, n_ - jc);
                packB(pc, kc, jc, nc, bpack.get());
                auto rows = [&](int member, std::int64_t block) {
                    if (stop.load(std::memory_order_relaxed) || interruptPending()) {
                        stop.store(true, std::memory_order_relaxed);
                        return;
                    }
                    const std::int64_t ic = block * mc_, mc = std::min(mc_, m_ - ic);
                    double* apack = apacks[member].get();
                    packA(ic, mc, pc, kc, apack);
                    for (std::int64_t jr = 0; jr < nc; jr += nr_)
                        for (std::int64_t ir = 0; ir < mc; ir += mr_)
                            tile(ic + ir, std::min<std::int64_t>(mr_, mc - ir), jc + jr,
                                 std::min<std::int64_t>(nr_, nc - jr), kc, apack + ir * kc * parts_,
                                 bpack.get() + jr * kc * parts_);
                };
                team.forEach(rowBlocks(), rows);
                if (stop.load(std::memory_order_relaxed)) return false;
            }
        }
        return true;
    }

    std::int64_t rowBlocks() const { return (m_ + mc_ - 1) / mc_; }

private:
    static std::int64_t roundUp(std::int64_t x, std::int64_t to) { return (x + to - 1) / to * to; }

    // Panels of nr columns: for each k the real parts, then the imaginary
    // ones; columns past the block are zero.
    void packB(std::int64_t pc, std::int64_t kc, std::int64_t jc, std::int64_t nc, double* out) const {
        for (std::int64_t jr = 0; jr < nc; jr += nr_) {
            const std::int64_t cols = std::min<std::int64_t>(nr_, nc - jr);
            for (std::int64_t kk = 0; kk < kc; ++kk) {
                const Complex* row = b_ + (pc + kk) * n_ + jc + jr;
                for (std::int64_t j = 0; j < nr_; ++j) {
                    const Complex z = j < cols ? row[j] : Complex{0.0, 0.0};
                    out[j] = z.re;
                    if (!real_) out[nr_ + j] = z.im;
                }
                out += nr_ * parts_;
            }
        }
    }

    // Panels of mr rows: for each k the rows' (re, im) pairs, or their real
    // parts; rows past the block are zero.
    void packA(std::int64_t ic, std::int64_t mc, std::int64_t pc, std::int64_t kc, double* out) const {
        for (std::int64_t ir = 0; ir < mc; ir += mr_) {
            const std::int64_t rows = std::min<std::int64_t>(mr_, mc - ir);
            for (std::int64_t kk = 0; kk < kc; ++kk) {
                for (std::int64_t i = 0; i < mr_; ++i) {
                    const Complex z = i < rows ? a_[(ic + ir + i) * k_ + pc + kk] : Complex{0.0, 0.0};
                    if (real_) {
                        out[i] = z.re;
                    } else {
                        out[2 * i] = z.re;
                        out[2 * i + 1] = z.im;
                    }
                }
                out += mr_ * parts_;
            }
        }
    }

    // The sums of rows [row, row + rows) and columns [col, col + cols) of c
    // go through a tile of the kernel's shape and come back with kc more
    // products added.
    void tile(std::int64_t row, std::int64_t rows, std::int64_t col, std::int64_t cols, std::int64_t kc,
              const double* ap, const double* bp) const {
        alignas(64) double sums[2 * 8 * 32] = {};
        const std::int64_t plane = mr_ * nr_;
        for (std::int64_t i = 0; i < rows; ++i) {
            const Complex* cr = c_ + (row + i) * n_ + col;
            for (std::int64_t j = 0; j < cols; ++j) {
                sums[i * nr_ + j] = cr[j].re;
                if (!real_) sums[plane + i * nr_ + j] = cr[j].im;
            }
        }
        if (real_)
            kernels_.realTile(kc, ap, bp, sums);
        else
            kernels_.complexTile(kc, ap, bp, sums);
        for (std::int64_t i = 0; i < rows; ++i) {
            Complex* cr = c_ + (row + i) * n_ + col;
            for (std::int64_t j = 0; j < cols; ++j) {
                cr[j].re = sums[i * nr_ + j];
                if (!real_) cr[j].im = sums[plane + i * nr_ + j];
            }
        }
    }

    const Complex* a_;
    const Complex* b_;
    Complex* c_;
    const std::int64_t m_, k_, n_;
    const bool real_;
    const Kernels& kernels_;
    const std::int64_t mr_, nr_, parts_;
    const std::int64_t kc_, nc_, mc_;
};

}  // namespace

bool product(const Complex* a, const Complex* b, Complex* c, std::int32_t m, std::int32_t k, std::int32_t n) {
    const Plan& p = plan();
    const std::int64_t work = std::int64_t{m} * k * n;
    if (work == 0) return true;
    // A row or column vector (or two) runs no faster in tiles than in the
    // plain loop, and packing would cost a pass over the other operand.
    if (work < p.packedFrom || m < 3 || n < 3) {
        plainProduct(a, b, c, m, k, n);
        return true;
    }
    const bool real = realAndFinite(a, std::size_t(m) * k) && realAndFinite(b, std::size_t(k) * n);
    const BlockedProduct job(a, b, c, m, k, n, real, kernels(p.isa), p);
    int threads = work >= p.threadedFrom ? p.threads : 1;
    if (threads > job.rowBlocks()) threads = static_cast<int>(job.rowBlocks());
    Team team(threads);
    return job.run(team);
}

}  // namespace dense
