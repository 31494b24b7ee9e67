// The core built-in table, registered in this order. Each family file
// declares its entries in its own header; one entry may serve several keys.
#include <vector>

#include "builtins/builtins.h"
#include "builtins/math.h"
#include "builtins/matrix.h"
#include "builtins/system.h"
#include "builtins/text.h"
#include "files/files.h"

namespace {
struct CoreRow {
    const char* key;
    BuiltinEntry entry;
};

const std::vector<CoreRow>& coreTable() {
    static const std::vector<CoreRow> table = {
        // --- scalar mathematics (sin ... im) ---
        // [math-1]
        {"sin$1", bi_sin}, {"cos$1", bi_cos}, {"tan$1", bi_tan}, {"asin$1", bi_asin}, {"acos$1", bi_acos},
        {"atan$1", bi_atan}, {"atan$2", bi_atan},
        {"sinh$1", bi_sinh}, {"cosh$1", bi_cosh}, {"tanh$1", bi_tanh}, {"asinh$1", bi_asinh}, {"acosh$1", bi_acosh},
        {"atanh$1", bi_atanh}, {"exp$1", bi_exp}, {"sqrt$1", bi_sqrt}, {"cbrt$1", bi_cbrt},
        {"log$1", bi_log}, {"log$2", bi_log},
        {"log10$1", bi_log10}, {"abs$1", bi_abs}, {"sign$1", bi_sign}, {"floor$1", bi_floor}, {"ceil$1", bi_ceil},
        {"round$1", bi_round}, {"round$2", bi_round},
        {"bround$1", bi_bround}, {"bround$2", bi_bround},
        {"int$1", bi_int}, {"finite$1", bi_finite},
        {"max", bi_max}, {"min", bi_min},
        {"random$0", bi_random}, {"random$1", bi_random}, {"random$2", bi_random},
        {"srand$0", bi_srand}, {"srand$1", bi_srand},
        {"fact$1", bi_fact}, {"perm$2", bi_perm}, {"comb$2", bi_comb},
        {"lcm", bi_lcm}, {"gcd", bi_gcd},
        {"conj$1", bi_conj}, {"arg$1", bi_arg},
        {"real$1", bi_real}, {"re$1", bi_real},
        {"imag$1", bi_imag}, {"im$1", bi_imag},
        // --- matrices (inv, det, rank, trace, diag, Im, Zm, eps) ---
        // [matrix-1]
        {"inv$1", bi_inv}, {"det$1", bi_det}, {"rank$1", bi_rank}, {"trace$1", bi_trace},
        {"diag", bi_diag},
        {"Im$1", bi_Im},
        {"Zm$1", bi_Zm}, {"Zm$2", bi_Zm},
        {"eps$1", bi_eps},
        // --- text settings (strict, format, error) ---
        // [text-1]
        {"strict$1", bi_strict}, {"format$1", bi_format}, {"error$1", bi_error},
        // --- system (exit, system, eval) ---
        // [system-1]
        {"exit$0", bi_exit}, {"exit$1", bi_exit},
        {"system$0", bi_system}, {"system$1", bi_system},
        {"eval$1", bi_eval},
        // --- console and output (kbhit, getch, getche, print, printf, sprintf) ---
        // [text-2]
        {"kbhit$0", bi_kbhit}, {"getch$0", bi_getch}, {"getche$0", bi_getche},
        {"print", bi_print}, {"printf", bi_printf}, {"sprintf", bi_sprintf},
        // --- files (open, close, eof, rewind) ---
        // [files-1]
        {"open$3", bi_open}, {"close$1", bi_close}, {"eof$1", bi_eof}, {"rewind$1", bi_rewind},
        // --- matrix sizes (cols, rows, size) ---
        // [matrix-2]
        {"cols$1", bi_cols}, {"rows$1", bi_rows}, {"size$1", bi_size},
        // --- system (sleep, tick, beep) ---
        // [system-2]
        {"sleep$1", bi_sleep}, {"tick$0", bi_tick}, {"beep$0", bi_beep},
        // --- matrix ordering (sortv, sorth, flipv, fliph) ---
        // [matrix-3]
        {"sortv$1", bi_sortv}, {"sortv$2", bi_sortv},
        {"sorth$1", bi_sorth}, {"sorth$2", bi_sorth},
        {"flipv$1", bi_flipv}, {"fliph$1", bi_fliph},
        // --- scalar mathematics (legendre) ---
        // [math-2]
        {"legendre$2", bi_legendre}, {"legendre$3", bi_legendre},
    };
    return table;
}
}  // namespace

void registerCoreBuiltins() {
    for (const CoreRow& row : coreTable()) registerNative(row.key, row.entry);
}
