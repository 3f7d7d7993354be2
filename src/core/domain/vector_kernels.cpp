// Compiled once per instruction set: Highway includes this file again for each of them, with
// HWY_NAMESPACE naming the set; the part under HWY_ONCE is compiled once.

#include "domain/vector_kernels.h"

#include "domain/predicted_digit.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <type_traits>

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "domain/vector_kernels.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

HWY_BEFORE_NAMESPACE();
namespace qeltaro {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// Highway's one-lane fallback is no vector unit: where it is all there is, the plain loops serve.
#if HWY_TARGET != HWY_SCALAR

// Adds `count` columns to `start` row by row and hands each vector of sums, with its first row,
// to `finish`. Two vectors at a time: two sums in flight, and each column's address read once
// for both.
template <class D, typename T, class Finish>
void SumColumns(D d, const T* const* columns, int count, T start, std::size_t rows, const Finish& finish)
{
    const std::size_t lanes = hn::Lanes(d);
    std::size_t i = 0;
    for (; i + 2 * lanes <= rows; i += 2 * lanes) {
        auto first = hn::Set(d, start);
        auto second = first;
        for (int t = 0; t < count; ++t) {
            first = hn::Add(first, hn::LoadU(d, columns[t] + i));
            second = hn::Add(second, hn::LoadU(d, columns[t] + i + lanes));
        }
        finish(first, i);
        finish(second, i + lanes);
    }
    for (; i < rows; i += lanes) {
        auto sum = hn::Set(d, start);
        for (int t = 0; t < count; ++t)
            sum = hn::Add(sum, hn::LoadU(d, columns[t] + i));
        finish(sum, i);
    }
}

void ResidueHits(const std::uint8_t* const* columns, int count, int tail, const std::uint8_t* low,
                 const std::uint8_t* high, std::size_t rows, std::uint8_t* hits)
{
    const hn::ScalableTag<std::uint8_t> d;
    // Byte shuffle tables: the bit of digit 0..7 in the low mask, of digit 8 or 9 in the high one.
    alignas(16) static constexpr std::uint8_t kLowBit[16] = {1, 2, 4, 8, 16, 32, 64, 128};
    alignas(16) static constexpr std::uint8_t kHighBit[16] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 2};
    const auto lowBit = hn::LoadDup128(d, kLowBit);
    const auto highBit = hn::LoadDup128(d, kHighBit);
    auto finish = [&](auto sum, std::size_t i) {
        // At most 24 * 9 + 9 = 225. Its remainder by 10: take off 160, 80, 40, 20 and 10 where
        // they fit; where one does not, the byte wraps above the sum and the minimum keeps the sum.
        sum = hn::Min(sum, hn::Sub(sum, hn::Set(d, 160)));
        sum = hn::Min(sum, hn::Sub(sum, hn::Set(d, 80)));
        sum = hn::Min(sum, hn::Sub(sum, hn::Set(d, 40)));
        sum = hn::Min(sum, hn::Sub(sum, hn::Set(d, 20)));
        sum = hn::Min(sum, hn::Sub(sum, hn::Set(d, 10)));
        const auto bits = hn::Or(hn::And(hn::LoadU(d, low + i), hn::TableLookupBytes(lowBit, sum)),
                                 hn::And(hn::LoadU(d, high + i), hn::TableLookupBytes(highBit, sum)));
        hn::StoreU(hn::Min(bits, hn::Set(d, 1)), d, hits + i);
    };
    SumColumns(d, columns, count, std::uint8_t(tail), rows, finish);
}

void ValueHits(const std::int32_t* const* columns, int count, std::int32_t constant, const std::uint32_t* masks,
               std::size_t rows, std::uint8_t* hits)
{
    const hn::ScalableTag<std::int32_t> d;
    const hn::RebindToUnsigned<decltype(d)> du;
    const hn::RebindToFloat<decltype(d)> df;
    const hn::Rebind<std::uint8_t, decltype(d)> d8;
    auto finish = [&](auto value, std::size_t i) {
        // The quotient by 10, truncated, in single precision: exact below 2^22. The float of a
        // tenth lies just above a tenth, so a multiple of 10 never falls below its quotient, and
        // any other value lies at least a tenth from a whole number, far more than the error.
        const auto quotient = hn::ConvertTo(d, hn::Mul(hn::ConvertTo(df, value), hn::Set(df, 0.1f)));
        const auto code = hn::Add(hn::Sub(value, hn::Mul(quotient, hn::Set(d, 10))), hn::Set(d, 9));
        const auto hit = hn::And(hn::LoadU(du, masks + i) >> hn::BitCast(du, code), hn::Set(du, 1));
        hn::StoreU(hn::DemoteTo(d8, hn::BitCast(d, hit)), d8, hits + i);
    };
    SumColumns(d, columns, count, constant, rows, finish);
}

void DigitHits(const double* values, const std::uint32_t* masks, std::size_t rows, std::uint8_t* hits,
               std::uint8_t* named)
{
    // Bits 9..18 of a mask: the digits 0..9.
    constexpr std::uint32_t kDigits = 0x3FFu << 9;
    auto oneRow = [&](std::size_t k) {
        const unsigned code = unsigned(predictedDigitCode(values[k]));
        hits[k] = std::uint8_t((masks[k] >> code) & 1u);
        named[k] = std::uint8_t((kDigits >> code) & 1u);
    };
    const hn::ScalableTag<double> d;
    const hn::Rebind<std::int32_t, decltype(d)> di;
    const hn::Rebind<std::uint32_t, decltype(d)> du;
    const hn::Rebind<std::uint8_t, decltype(d)> d8;
    const std::size_t lanes = hn::Lanes(d);
    const auto rounder = hn::Set(d, 6755399441055744.0);  // 1.5 * 2^52: adding it rounds half to even
    const auto one = hn::Set(du, 1u);
    const auto digits = hn::Set(du, kDigits);
    std::size_t i = 0;
    for (; i + lanes <= rows; i += lanes) {
        const auto value = hn::LoadU(d, values + i);
        if (!hn::AllTrue(d, hn::Lt(hn::Abs(value), hn::Set(d, 2147483647.0)))) {
            // No value or a huge one on some row: these rows the general way.
            for (std::size_t k = i; k < i + lanes; ++k)
                oneRow(k);
            continue;
        }
        const auto rounded = hn::Sub(hn::Add(value, rounder), rounder);
        // Truncated quotient by 10, exact for whole numbers below 2^31 (as in valueHits, with
        // room to spare in double precision), and the remainder with the sign of the value.
        const auto quotient = hn::Trunc(hn::Mul(rounded, hn::Set(d, 0.1)));
        const auto digit = hn::Sub(rounded, hn::Mul(quotient, hn::Set(d, 10.0)));
        const auto code = hn::BitCast(du, hn::Add(hn::DemoteTo(di, digit), hn::Set(di, 9)));
        auto store = [&](auto bits, std::uint8_t* out) {
            hn::StoreU(hn::DemoteTo(d8, hn::BitCast(di, hn::And(bits >> code, one))), d8, out + i);
        };
        store(hn::LoadU(du, masks + i), hits);
        store(digits, named);
    }
    for (; i < rows; ++i)
        oneRow(i);
}

std::uint64_t HitCount(const std::uint8_t* hits, std::size_t rows)
{
    const hn::ScalableTag<std::uint8_t> d;
    const hn::Repartition<std::uint64_t, decltype(d)> d64;
    auto sum = hn::Zero(d64);
    for (std::size_t i = 0; i < rows; i += hn::Lanes(d))
        sum = hn::Add(sum, hn::SumsOf8(hn::LoadU(d, hits + i)));
    return hn::GetLane(hn::SumOfLanes(d64, sum));
}

std::uint64_t CommonCount(const std::uint8_t* a, const std::uint8_t* b, std::size_t rows)
{
    const hn::ScalableTag<std::uint8_t> d;
    const hn::Repartition<std::uint64_t, decltype(d)> d64;
    auto sum = hn::Zero(d64);
    for (std::size_t i = 0; i < rows; i += hn::Lanes(d))
        sum = hn::Add(sum, hn::SumsOf8(hn::And(hn::LoadU(d, a + i), hn::LoadU(d, b + i))));
    return hn::GetLane(hn::SumOfLanes(d64, sum));
}

std::uint64_t WeightedHitSum(const std::uint8_t* hits, const std::uint32_t* weights, std::uint32_t maxWeight,
                             std::size_t rows)
{
    const hn::ScalableTag<std::uint32_t> d;
    const hn::Rebind<std::uint8_t, decltype(d)> d8;
    const hn::Half<decltype(d)> dh;
    const hn::Repartition<std::uint64_t, decltype(d)> d64;
    const std::size_t lanes = hn::Lanes(d);
    // Lanes add up in 32 bits for as many vectors as cannot overflow them, then into 64 bits.
    const std::size_t chunk = std::max<std::size_t>(1, 0xFFFFFFFFu / std::max<std::uint32_t>(1, maxWeight)) * lanes;
    auto sum = hn::Zero(d64);
    for (std::size_t start = 0; start < rows; start += chunk) {
        auto part = hn::Zero(d);
        for (std::size_t i = start; i < std::min(rows, start + chunk); i += lanes) {
            // A hit is 1, so 0 - hit keeps the whole weight and a miss none of it.
            const auto hit = hn::PromoteTo(d, hn::LoadU(d8, hits + i));
            part = hn::Add(part, hn::And(hn::LoadU(d, weights + i), hn::Sub(hn::Zero(d), hit)));
        }
        sum = hn::Add(sum, hn::Add(hn::PromoteTo(d64, hn::LowerHalf(dh, part)), hn::PromoteTo(d64, hn::UpperHalf(dh, part))));
    }
    return hn::GetLane(hn::SumOfLanes(d64, sum));
}

void PackHits(const std::uint8_t* hits, std::size_t rows, std::uint64_t* words)
{
    const hn::ScalableTag<std::uint8_t> d;
    const std::size_t lanes = hn::Lanes(d);
    if constexpr (std::endian::native == std::endian::little) {
        // Mask bits in memory order are rows in word order.
        auto* bytes = reinterpret_cast<std::uint8_t*>(words);
        for (std::size_t i = 0; i < rows; i += lanes)
            hn::StoreMaskBits(d, hn::Ne(hn::LoadU(d, hits + i), hn::Zero(d)), bytes + i / 8);
    } else {
        std::uint8_t bits[HWY_MAX_BYTES / 8];
        for (std::size_t i = 0; i < rows; i += lanes) {
            hn::StoreMaskBits(d, hn::Ne(hn::LoadU(d, hits + i), hn::Zero(d)), bits);
            for (std::size_t b = 0; b < lanes / 8; ++b) {
                const std::size_t row = i + 8 * b;
                std::uint64_t& word = words[row / 64];
                word = (row % 64 == 0 ? 0 : word) | std::uint64_t(bits[b]) << (row % 64);
            }
        }
    }
}

// out[i] = step(a[i], b[i]) over whole vectors, then the rest through a vector's worth of
// scratch, so every row takes the same instructions. `out` may be `a`.
template <class Step>
void EachVector(double* out, const double* a, const double* b, std::size_t n, const Step& step)
{
    const hn::ScalableTag<double> d;
    const std::size_t lanes = hn::Lanes(d);
    std::size_t i = 0;
    for (; i + lanes <= n; i += lanes)
        hn::StoreU(step(hn::LoadU(d, a + i), hn::LoadU(d, b + i)), d, out + i);
    if (i < n) {
        double x[HWY_MAX_BYTES / sizeof(double)] = {};
        double y[HWY_MAX_BYTES / sizeof(double)] = {};
        std::copy(a + i, a + n, x);
        std::copy(b + i, b + n, y);
        hn::StoreU(step(hn::LoadU(d, x), hn::LoadU(d, y)), d, x);
        std::copy(x, x + (n - i), out + i);
    }
}

// out[i] = step(a[i]).
template <class Step>
void EachVector(double* out, const double* a, std::size_t n, const Step& step)
{
    const hn::ScalableTag<double> d;
    const std::size_t lanes = hn::Lanes(d);
    std::size_t i = 0;
    for (; i + lanes <= n; i += lanes)
        hn::StoreU(step(hn::LoadU(d, a + i)), d, out + i);
    if (i < n) {
        double x[HWY_MAX_BYTES / sizeof(double)] = {};
        std::copy(a + i, a + n, x);
        hn::StoreU(step(hn::LoadU(d, x)), d, x);
        std::copy(x, x + (n - i), out + i);
    }
}

template <class V>
V Apply(Arithmetic op, V a, V b)
{
    const hn::DFromV<V> d;
    switch (op) {
    case Arithmetic::Add: return hn::Add(a, b);
    case Arithmetic::Sub: return hn::Sub(a, b);
    case Arithmetic::Mul: return hn::Mul(a, b);
    case Arithmetic::Div: break;
    }
    return hn::IfThenElse(hn::Eq(b, hn::Zero(d)), hn::Set(d, std::numeric_limits<double>::quiet_NaN()), hn::Div(a, b));
}

void ArithmeticColumn(Arithmetic op, double* out, const double* a, const double* b, std::size_t n)
{
    switch (op) {
    case Arithmetic::Add: EachVector(out, a, b, n, [](auto x, auto y) { return Apply(Arithmetic::Add, x, y); }); break;
    case Arithmetic::Sub: EachVector(out, a, b, n, [](auto x, auto y) { return Apply(Arithmetic::Sub, x, y); }); break;
    case Arithmetic::Mul: EachVector(out, a, b, n, [](auto x, auto y) { return Apply(Arithmetic::Mul, x, y); }); break;
    case Arithmetic::Div: EachVector(out, a, b, n, [](auto x, auto y) { return Apply(Arithmetic::Div, x, y); }); break;
    }
}

void ArithmeticConstant(Arithmetic op, double* out, const double* a, double b, std::size_t n)
{
    const auto y = hn::Set(hn::ScalableTag<double>(), b);
    switch (op) {
    case Arithmetic::Add: EachVector(out, a, n, [y](auto x) { return Apply(Arithmetic::Add, x, y); }); break;
    case Arithmetic::Sub: EachVector(out, a, n, [y](auto x) { return Apply(Arithmetic::Sub, x, y); }); break;
    case Arithmetic::Mul: EachVector(out, a, n, [y](auto x) { return Apply(Arithmetic::Mul, x, y); }); break;
    case Arithmetic::Div: EachVector(out, a, n, [y](auto x) { return Apply(Arithmetic::Div, x, y); }); break;
    }
}

// Whole and inside int range: adding and removing 1.5 * 2^52 leaves only a whole number as it was.
template <class V>
auto WholeInt(V x)
{
    const hn::DFromV<V> d;
    const auto rounder = hn::Set(d, 6755399441055744.0);
    return hn::And(hn::Lt(hn::Abs(x), hn::Set(d, 2147483648.0)), hn::Eq(hn::Sub(hn::Add(x, rounder), rounder), x));
}

// The remainder of whole operands in int range: the truncated quotient is exact, so are its
// product with the divisor and the difference, and the sign of the dividend goes to the
// remainder, a zero's too.
template <class V>
V WholeModOf(V a, V b)
{
    return hn::CopySign(hn::Sub(a, hn::Mul(hn::Trunc(hn::Div(a, b)), b)), a);
}

// A divisor: a column, or one number for every row.
inline double ValueAt(const double* b, std::size_t i) { return b[i]; }
inline double ValueAt(double b, std::size_t) { return b; }
template <class D>
auto LoadOperand(D d, const double* b, std::size_t i) { return hn::LoadU(d, b + i); }
template <class D>
auto LoadOperand(D d, double b, std::size_t) { return hn::Set(d, b); }

// The same remainder by one whole divisor in int range other than 0, through its reciprocal: a
// multiplication instead of a division. For whole |a| < 2^31 the product misses a / b by less
// than a / b's distance to any whole number it is not, so the truncated quotient is right except
// where a / b is whole and the product falls just short: the remainder is then +-b, and is 0.
template <class V>
V WholeModByReciprocal(V a, V b, V reciprocal)
{
    const auto rest = hn::Sub(a, hn::Mul(hn::Trunc(hn::Mul(a, reciprocal)), b));
    return hn::CopySign(hn::IfThenZeroElse(hn::Ge(hn::Abs(rest), hn::Abs(b)), rest), a);
}

// out[i] = remainder(a[i], b at i). A vector of whole operands in int range with no divisor 0 --
// nearly every one -- takes the vector road, which gives the same bits; any other vector, and
// the rows after the last whole vector, take `remainder` row by row.
template <typename Operand>
void ModOf(double* out, const double* a, Operand b, std::size_t n, double (*remainder)(double, double))
{
    const hn::ScalableTag<double> d;
    const std::size_t lanes = hn::Lanes(d);
    // A constant divisor is checked once and its reciprocal taken once.
    bool wholeConstant = false;
    auto reciprocal = hn::Zero(d);
    if constexpr (std::is_same_v<Operand, double>) {
        wholeConstant = hn::AllTrue(d, WholeInt(hn::Set(d, b))) && b != 0;
        reciprocal = hn::Set(d, 1.0 / b);
    }
    std::size_t i = 0;
    for (; i + lanes <= n; i += lanes) {
        const auto x = hn::LoadU(d, a + i);
        const auto y = LoadOperand(d, b, i);
        if (wholeConstant && hn::AllTrue(d, WholeInt(x))) {
            hn::StoreU(WholeModByReciprocal(x, y, reciprocal), d, out + i);
        } else if (!wholeConstant &&
                   hn::AllTrue(d, hn::And(hn::And(WholeInt(x), WholeInt(y)), hn::Ne(y, hn::Zero(d))))) {
            hn::StoreU(WholeModOf(x, y), d, out + i);
        } else {
            for (std::size_t k = i; k < i + lanes; ++k)
                out[k] = remainder(a[k], ValueAt(b, k));
        }
    }
    for (; i < n; ++i)
        out[i] = remainder(a[i], ValueAt(b, i));
}

void Mod(double* out, const double* a, const double* b, std::size_t n, double (*remainder)(double, double))
{
    ModOf(out, a, b, n, remainder);
}

void ModConstant(double* out, const double* a, double b, std::size_t n, double (*remainder)(double, double))
{
    ModOf(out, a, b, n, remainder);
}

#endif  // HWY_TARGET != HWY_SCALAR

const VectorKernels* KernelsOfTarget()
{
#if HWY_TARGET == HWY_SCALAR
    return nullptr;
#else
    static const VectorKernels kernels{hwy::TargetName(HWY_TARGET),
                                       HWY_TARGET,
                                       &ResidueHits,
                                       &ValueHits,
                                       &DigitHits,
                                       &HitCount,
                                       &CommonCount,
                                       &WeightedHitSum,
                                       &PackHits,
                                       &ArithmeticColumn,
                                       &ArithmeticConstant,
                                       &Mod,
                                       &ModConstant};
    return &kernels;
#endif
}

}  // namespace HWY_NAMESPACE
}  // namespace qeltaro
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace qeltaro {
namespace {

// Which instruction sets this processor runs, asked of the compiler's own detection (which also
// checks that the system saves the wide registers): Highway's needs for each, as its target
// attributes name them. Linking Highway's library for this would cost every start of the
// programs several milliseconds of its own start-up.
#if HWY_ARCH_X86
#if defined(__clang__)
// clang does not name f16c; every processor with AVX2 has it.
#define QELTARO_CPU_HAS_F16C true
#else
#define QELTARO_CPU_HAS_F16C __builtin_cpu_supports("f16c")
#endif
bool runsSsse3() { return __builtin_cpu_supports("ssse3"); }
bool runsSse4()
{
    return runsSsse3() && __builtin_cpu_supports("sse4.1") && __builtin_cpu_supports("sse4.2") &&
           __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("aes");
}
bool runsAvx2()
{
    return runsSse4() && __builtin_cpu_supports("avx") && __builtin_cpu_supports("avx2") &&
           __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("fma") &&
           QELTARO_CPU_HAS_F16C;
}
bool runsAvx3()
{
    return runsAvx2() && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") &&
           __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512bw");
}
#endif

}  // namespace

const std::vector<const VectorKernels*>& everyVectorKernels()
{
    static const std::vector<const VectorKernels*> all = [] {
        std::vector<const VectorKernels*> kernels;
        auto add = [&kernels](const VectorKernels* k) {
            if (k && std::find(kernels.begin(), kernels.end(), k) == kernels.end())
                kernels.push_back(k);
        };
#if HWY_ARCH_X86
        __builtin_cpu_init();
#if HWY_TARGETS & HWY_AVX3
        if (runsAvx3())
            add(N_AVX3::KernelsOfTarget());
#endif
#if HWY_TARGETS & HWY_AVX2
        if (runsAvx2())
            add(N_AVX2::KernelsOfTarget());
#endif
#if HWY_TARGETS & HWY_SSE4
        if (runsSse4())
            add(N_SSE4::KernelsOfTarget());
#endif
#if HWY_TARGETS & HWY_SSSE3
        if (runsSsse3())
            add(N_SSSE3::KernelsOfTarget());
#endif
#endif
        // The set the whole program is built for runs wherever the program does.
        add(HWY_STATIC_DISPATCH(KernelsOfTarget)());
        return kernels;
    }();
    return all;
}

const VectorKernels* bestVectorKernels()
{
    static const VectorKernels* const best = [] {
        const std::vector<const VectorKernels*>& all = everyVectorKernels();
        const bool emulated = all.empty() || (all.front()->targetBit & (HWY_EMU128 | HWY_SCALAR)) != 0;
        return emulated ? nullptr : all.front();
    }();
    return best;
}

HitRuns hitRunsOf(const std::uint64_t* words, std::size_t rows)
{
    HitRuns runs;
    if (rows == 0)
        return runs;
    // A run ends where the next row differs; only those rows are visited. `start` is the first
    // row of the current run, `previous` the last row's hit bit carried into the next word.
    std::size_t start = 0;
    std::uint64_t previous = words[0] & 1u;
    const std::size_t wordCount = (rows + 63) / 64;
    for (std::size_t w = 0; w < wordCount; ++w) {
        std::uint64_t word = words[w];
        const std::size_t valid = std::min<std::size_t>(64, rows - 64 * w);
        // Bit k set when row 64w + k differs from the row before it.
        std::uint64_t changes = word ^ ((word << 1) | previous);
        if (valid < 64)
            changes &= (std::uint64_t(1) << valid) - 1;
        if (w == 0)
            changes &= ~std::uint64_t(1);
        previous = word >> 63;
        for (; changes != 0; changes &= changes - 1) {
            const std::size_t row = 64 * w + std::size_t(std::countr_zero(changes));
            const int length = int(row - start);
            // The run that ends here is of the kind of the row before: hits when this row misses.
            const bool hitRun = ((word >> (row % 64)) & 1u) == 0;
            int& longest = hitRun ? runs.maxHitRun : runs.maxMissRun;
            longest = std::max(longest, length);
            start = row;
        }
    }
    const bool lastHit = (words[(rows - 1) / 64] >> ((rows - 1) % 64)) & 1u;
    const int last = int(rows - start);
    int& longest = lastHit ? runs.maxHitRun : runs.maxMissRun;
    longest = std::max(longest, last);
    (lastHit ? runs.lastHitRun : runs.lastMissRun) = last;
    return runs;
}

}  // namespace qeltaro
#endif  // HWY_ONCE
