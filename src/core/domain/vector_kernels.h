#pragma once
// The loops over history rows that the search, the back-test and the calculation run for every
// formula, on the processor's vector units. Highway compiles them once per instruction set
// (SSSE3, SSE4, AVX2, AVX-512, and a portable 128-bit emulation) and the program takes the widest
// the processor runs. Callers keep their plain loops beside these, for machines without vector
// units and as the yardstick: both give the same results bit for bit.
//
// Buffers of bytes and 32-bit integers are padded to whole blocks of kRowBlock rows (the widest
// vector holds 64 bytes); the padding of a hit mask is 0, so padded rows never hit. Loops over
// doubles take any length.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qeltaro {

inline constexpr int kRowBlock = 64;
inline constexpr std::size_t paddedRows(std::size_t rows)
{
    return (rows + kRowBlock - 1) / kRowBlock * kRowBlock;
}

// The largest sum the digit of valueHits is exact for: beyond it, use the plain loop.
inline constexpr std::int64_t kValueHitsLimit = std::int64_t(1) << 22;
// Most columns residueHits adds: 24 remainders of at most 9 and a tail of at most 9 fit a byte.
inline constexpr int kMaxResidueColumns = 24;

enum class Arithmetic : std::uint8_t { Add, Sub, Mul, Div };

struct VectorKernels {
    const char* target;      // the instruction set's name, e.g. "AVX2"
    std::int64_t targetBit;  // Highway's bit for it

    // hits[i] = 1 when digit (tail + sum over t of columns[t][i]) mod 10 has its bit set in the
    // row's masks: bits 0..7 of low[i] for the digits 0..7, bits 0..1 of high[i] for 8 and 9.
    // Every column holds remainders 0..9, tail is 0..9, count <= kMaxResidueColumns. The sum
    // of the remainders has the digit of the sum itself whenever that sum is never negative.
    void (*residueHits)(const std::uint8_t* const* columns, int count, int tail, const std::uint8_t* low,
                        const std::uint8_t* high, std::size_t rows, std::uint8_t* hits);
    // hits[i] = bit (v % 10 + 9) of masks[i], v = constant + sum over t of columns[t][i], with
    // |v| < kValueHitsLimit on every row (% keeps the sign of v).
    void (*valueHits)(const std::int32_t* const* columns, int count, std::int32_t constant,
                      const std::uint32_t* masks, std::size_t rows, std::uint8_t* hits);
    // hits[i] = bit predictedDigitCode(values[i]) of masks[i]; any number of rows. Bit
    // kNoValueCode of a mask must be 0. named[i] = 1 where the row's digit is 0..9, the only rows
    // that say anything against chance.
    void (*digitHits)(const double* values, const std::uint32_t* masks, std::size_t rows, std::uint8_t* hits,
                      std::uint8_t* named);

    // The number of hits, and the sum of the weights of the rows hit (no weight above maxWeight).
    std::uint64_t (*hitCount)(const std::uint8_t* hits, std::size_t rows);
    // The rows where both flags are 1.
    std::uint64_t (*commonCount)(const std::uint8_t* a, const std::uint8_t* b, std::size_t rows);
    std::uint64_t (*weightedHitSum)(const std::uint8_t* hits, const std::uint32_t* weights, std::uint32_t maxWeight,
                                    std::size_t rows);
    // Bit i % 64 of words[i / 64] = hits[i].
    void (*packHits)(const std::uint8_t* hits, std::size_t rows, std::uint64_t* words);

    // The column evaluator's steps over doubles, any length: out[i] = a[i] op b[i], b a column or
    // one number for every row; division by 0 gives NaN. `out` may be `a`.
    void (*arithmetic)(Arithmetic op, double* out, const double* a, const double* b, std::size_t n);
    void (*arithmeticConstant)(Arithmetic op, double* out, const double* a, double b, std::size_t n);
    // out[i] = remainder(a[i], b[i]), `remainder` being the formula language's MOD. Whole
    // operands inside int range with a divisor other than 0, for which the remainder of the
    // truncated quotient is the same, take the vector units; other rows take `remainder`.
    void (*mod)(double* out, const double* a, const double* b, std::size_t n, double (*remainder)(double, double));
    void (*modConstant)(double* out, const double* a, double b, std::size_t n, double (*remainder)(double, double));
};

// The kernels of the widest instruction set this processor runs, or nullptr where Highway found
// no vector unit (the plain loops are then the faster road).
const VectorKernels* bestVectorKernels();
// Every instruction set this program carries and this processor runs, widest first, the
// portable emulation included: what the tests compare with the plain loops.
const std::vector<const VectorKernels*>& everyVectorKernels();

// The rows of a run of hits and of misses, as the back-test and the search report them.
struct HitRuns {
    int maxHitRun = 0;
    int maxMissRun = 0;
    int lastHitRun = 0;
    int lastMissRun = 0;
};
// From hits packed by packHits: only the transitions between hit and miss are visited, about one
// row in five of a kill formula's.
HitRuns hitRunsOf(const std::uint64_t* words, std::size_t rows);

}  // namespace qeltaro
