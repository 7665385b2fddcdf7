// Recursive descent straight over the text: one function per grammar level,
// a cursor into the caller's text, no tokens and no heap. A failing step sets
// the error flag, yields its value (mostly 0.0) and reading goes on, so a
// failed call still returns what the rest of the expression makes of it.
#include "expr/evaluator.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

struct ExprState {
    const ToolDef* tool;
    const double* paramValues;
    const double* outputValues;
    const char* cursor;
    int32_t error;
};

// 63 name characters and the terminator.
constexpr int32_t kNameCapacity = 64;

// The four whitespace characters; vertical tab and form feed are deliberately
// not among them. Classification is written out rather than taken from
// <cctype>, which depends on the locale and is undefined for bytes above 127
// when char is signed.
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsNameChar(char c) {
    return IsNameStart(c) || IsDigit(c);
}

void SkipSpace(ExprState& s) {
    while (IsSpace(*s.cursor))
        ++s.cursor;
}

// Skips whitespace and consumes c when it comes next.
bool Accept(ExprState& s, char c) {
    SkipSpace(s);
    if (*s.cursor != c) return false;
    ++s.cursor;
    return true;
}

// Skips whitespace and consumes the two-character operator when it comes next.
bool AcceptPair(ExprState& s, char first, char second) {
    SkipSpace(s);
    if (s.cursor[0] != first || s.cursor[1] != second) return false;
    s.cursor += 2;
    return true;
}

// A missing closer is a failure but reading goes on from the same place.
void Expect(ExprState& s, char c) {
    if (!Accept(s, c)) s.error = 1;
}

double Fail(ExprState& s) {
    s.error = 1;
    return 0.0;
}

double Truth(bool b) {
    return b ? 1.0 : 0.0;
}
bool IsTrue(double v) {
    return v != 0.0;
}  // NaN is true

// ---------------------------------------------------------------- functions

// Which argument values make a function fail with 0.0. A NaN argument passes
// every test, since all of them are written as comparisons that NaN fails.
enum class Domain { kAny, kNotNegative, kPositive, kNonZeroSecond };

struct FunctionDef {
    const char* name;
    int32_t arity;
    Domain domain;
    double (*apply)(double a, double b);
};

// The double nearest to one third; cube roots go through pow with it so that
// results agree bit for bit with every C runtime's pow rather than with a
// library cube root.
constexpr double kOneThird = 0.3333333333333333;

constexpr FunctionDef kFunctions[] = {
    {"sqrt", 1, Domain::kNotNegative, [](double x, double) { return std::sqrt(x); }},
    {"abs", 1, Domain::kAny, [](double x, double) { return std::fabs(x); }},
    {"log", 1, Domain::kPositive, [](double x, double) { return std::log(x); }},
    {"log10", 1, Domain::kPositive, [](double x, double) { return std::log10(x); }},
    {"exp", 1, Domain::kAny, [](double x, double) { return std::exp(x); }},
    {"floor", 1, Domain::kAny, [](double x, double) { return std::floor(x); }},
    {"ceil", 1, Domain::kAny, [](double x, double) { return std::ceil(x); }},
    // Halves go up (-2.5 gives -2), unlike std::round.
    {"round", 1, Domain::kAny, [](double x, double) { return std::floor(x + 0.5); }},
    {"cbrt", 1, Domain::kAny,
     [](double x, double) { return x < 0 ? -std::pow(-x, kOneThird) : std::pow(x, kOneThird); }},
    {"sign", 1, Domain::kAny, [](double x, double) { return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0); }},
    {"min", 2, Domain::kAny, [](double a, double b) { return a < b ? a : b; }},
    {"max", 2, Domain::kAny, [](double a, double b) { return a > b ? a : b; }},
    {"pow", 2, Domain::kAny, [](double a, double b) { return std::pow(a, b); }},
    {"mod", 2, Domain::kNonZeroSecond, [](double a, double b) { return std::fmod(a, b); }},
};

bool OutsideDomain(Domain domain, double a, double b) {
    switch (domain) {
        case Domain::kNotNegative:
            return a < 0;
        case Domain::kPositive:
            return a <= 0;
        case Domain::kNonZeroSecond:
            return b == 0;
        case Domain::kAny:
            break;
    }
    return false;
}

bool SameName(const char* a, const char* b) {
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

// The one-argument functions stand first in the table: a call with two
// arguments starts its search after them.
constexpr int32_t kFunctionCount = sizeof kFunctions / sizeof kFunctions[0];
constexpr int32_t FirstFunctionOfArity(int32_t arity) {
    int32_t i = 0;
    while (i < kFunctionCount && kFunctions[i].arity < arity)
        ++i;
    return i;
}
constexpr int32_t kFirstBinaryFunction = FirstFunctionOfArity(2);
constexpr bool FunctionsOrderedByArity() {
    for (int32_t i = 1; i < kFunctionCount; ++i) {
        if (kFunctions[i].arity < kFunctions[i - 1].arity) return false;
    }
    return true;
}
static_assert(FunctionsOrderedByArity(), "the search relies on the order");

double ApplyFunction(int32_t arity, const char* name, double a, double b, int32_t& error) {
    for (int32_t i = arity == 2 ? kFirstBinaryFunction : 0; i < kFunctionCount; ++i) {
        const FunctionDef& f = kFunctions[i];
        if (f.arity != arity) break;
        if (f.name[0] != name[0] || !SameName(f.name, name)) continue;
        if (OutsideDomain(f.domain, a, b)) break;
        return f.apply(a, b);
    }
    error = 1;
    return 0.0;
}

double ApplyFunction1(const char* name, double x, int32_t& error) {
    return ApplyFunction(1, name, x, 0.0, error);
}

double ApplyFunction2(const char* name, double a, double b, int32_t& error) {
    return ApplyFunction(2, name, a, b, error);
}

// ------------------------------------------------------------------ numbers

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int32_t kMaxExactPower = 22;
constexpr uint64_t kExactMantissaLimit = uint64_t{1} << 53;

// Plain decimal literals whose digits form an integer below 2^53 and whose
// fraction has at most 22 digits: both operands of the division are exact and
// IEEE division rounds correctly, so the result is the very double strtod
// gives, without strtod's cost. Returns false, consuming nothing, for anything
// else (exponents, hexadecimal, long literals), which goes to strtod.
bool ReadPlainDecimal(ExprState& s, double& value) {
    const char* p = s.cursor;
    uint64_t mantissa = 0;
    int32_t digits = 0;
    int32_t fraction_digits = 0;
    bool in_fraction = false;
    for (;; ++p) {
        const char c = *p;
        if (IsDigit(c)) {
            mantissa = mantissa * 10 + static_cast<uint64_t>(c - '0');
            if (mantissa >= kExactMantissaLimit) return false;
            ++digits;
            if (in_fraction && ++fraction_digits > kMaxExactPower) return false;
        } else if (c == '.' && !in_fraction) {
            in_fraction = true;
        } else {
            break;
        }
    }
    const char next = *p;
    if (digits == 0 || next == 'e' || next == 'E' || next == 'x' || next == 'X') return false;
    value = static_cast<double>(mantissa);
    if (fraction_digits > 0) value /= kExactPowersOfTen[fraction_digits];
    s.cursor = p;
    return true;
}

double ReadNumber(ExprState& s) {
    double value = 0.0;
    if (ReadPlainDecimal(s, value)) return value;
    char* end = nullptr;
    value = std::strtod(s.cursor, &end);
    if (end == s.cursor) return Fail(s);
    s.cursor = end;
    return value;
}

// -------------------------------------------------------------------- names

// Copies at most 63 name characters; the rest of a longer run stays in the
// text and later fails as leftover.
void ReadName(ExprState& s, char (&name)[kNameCapacity]) {
    int32_t n = 0;
    while (n < kNameCapacity - 1 && IsNameChar(*s.cursor))
        name[n++] = *s.cursor++;
    name[n] = '\0';
}

bool NameIs(const char* candidate, const char* name) {
    return candidate != nullptr && candidate[0] == name[0] && SameName(candidate, name);
}

// Parameters shadow outputs of the same name. The value tables hold kMaxParams
// and kMaxOutputs entries: rows of a larger definition past them have no
// value, and their names match nothing.
double LookUpVariable(ExprState& s, const char* name) {
    const ToolDef& tool = *s.tool;
    for (int32_t i = 0; i < tool.param_count && i < kMaxParams; ++i) {
        if (NameIs(tool.params[i].var, name)) return s.paramValues[i];
    }
    for (int32_t j = 0; j < tool.output_count && j < kMaxOutputs; ++j) {
        if (NameIs(tool.outputs[j].key, name)) return s.outputValues[j];
    }
    return Fail(s);
}

double ParseConditional(ExprState& s);

// call: name "(" conditional [ "," conditional ] ")"   (cursor past the "(")
double ReadCall(ExprState& s, const char* name) {
    const double a = ParseConditional(s);
    if (Accept(s, ',')) {
        const double b = ParseConditional(s);
        Expect(s, ')');
        return ApplyFunction2(name, a, b, s.error);
    }
    Expect(s, ')');
    return ApplyFunction1(name, a, s.error);
}

// ------------------------------------------------------------------ powers

// Largest odd significand whose square still fits in a double's 53 bits.
constexpr uint64_t kLargestExactSquareRoot = 94906265;  // floor(sqrt(2^53))

// True when x * x is exactly a normal double: the significand, stripped of its
// trailing zeros, squares to at most 53 bits, and the magnitude keeps the
// square far from overflow and from the subnormal range.
bool SquareIsExact(double x) {
    const double magnitude = std::fabs(x);
    if (!(magnitude >= 0x1p-450 && magnitude <= 0x1p450)) return false;
    const uint64_t bits = std::bit_cast<uint64_t>(magnitude);
    uint64_t significand = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
    significand >>= std::countr_zero(significand);
    return significand <= kLargestExactSquareRoot;
}

// pow, but an exact square is multiplied out: pow returns the very same double
// when its result is exact, and the multiplication costs a fraction of pow
// (squares are the commonest powers in formulas). Every inexact square still
// goes to pow, whose rounding may differ from the product's.
double Power(double base, double exponent) {
    if (exponent == 2.0 && SquareIsExact(base)) return base * base;
    return std::pow(base, exponent);
}

// ------------------------------------------------------------------ grammar

// unary: "(" conditional ")" | "-" unary | "+" unary | "!" unary | number | name
double ParseUnary(ExprState& s) {
    SkipSpace(s);
    const char c = *s.cursor;
    if (c == '(') {
        ++s.cursor;
        const double v = ParseConditional(s);
        Expect(s, ')');
        return v;
    }
    if (c == '-') {
        ++s.cursor;
        return -ParseUnary(s);
    }
    if (c == '+') {
        ++s.cursor;
        return ParseUnary(s);
    }
    if (c == '!') {
        ++s.cursor;
        return Truth(ParseUnary(s) == 0.0);
    }
    if (IsDigit(c) || c == '.') return ReadNumber(s);
    if (!IsNameStart(c)) return Fail(s);
    char name[kNameCapacity];
    ReadName(s, name);
    if (Accept(s, '(')) return ReadCall(s, name);
    return LookUpVariable(s, name);
}

// power: unary [ "^" power ]
double ParsePower(ExprState& s) {
    const double base = ParseUnary(s);
    if (!Accept(s, '^')) return base;
    return Power(base, ParsePower(s));
}

// term: power { ("*" | "/" | "%") power }
double ParseTerm(ExprState& s) {
    double v = ParsePower(s);
    for (;;) {
        SkipSpace(s);
        const char op = *s.cursor;
        if (op == '*' && s.cursor[1] != '*') {
            ++s.cursor;
            v *= ParsePower(s);
        } else if (op == '/' || op == '%') {
            ++s.cursor;
            const double divisor = ParsePower(s);
            // The whole term is lost, and the rest of it stays unread.
            if (divisor == 0.0) return Fail(s);
            v = op == '/' ? v / divisor : std::fmod(v, divisor);
        } else {
            return v;
        }
    }
}

// additive: term { ("+" | "-") term }
double ParseAdditive(ExprState& s) {
    double v = ParseTerm(s);
    for (;;) {
        SkipSpace(s);
        const char op = *s.cursor;
        if (op != '+' && op != '-') return v;
        ++s.cursor;
        const double rhs = ParseTerm(s);
        v = op == '+' ? v + rhs : v - rhs;
    }
}

// comparison: additive [ ("<=" | ">=" | "==" | "!=" | "<" | ">") additive ]
double ParseComparison(ExprState& s) {
    const double a = ParseAdditive(s);
    // Most operands are followed by no comparison at all: one look settles it.
    SkipSpace(s);
    const char next = *s.cursor;
    if (next != '<' && next != '>' && next != '=' && next != '!') return a;
    if (AcceptPair(s, '<', '=')) return Truth(a <= ParseAdditive(s));
    if (AcceptPair(s, '>', '=')) return Truth(a >= ParseAdditive(s));
    if (AcceptPair(s, '=', '=')) return Truth(a == ParseAdditive(s));
    if (AcceptPair(s, '!', '=')) return Truth(a != ParseAdditive(s));
    if (Accept(s, '<')) return Truth(a < ParseAdditive(s));
    if (Accept(s, '>')) return Truth(a > ParseAdditive(s));
    return a;
}

// and: comparison { "&&" comparison }   (no short-circuit)
double ParseAnd(ExprState& s) {
    double v = ParseComparison(s);
    while (AcceptPair(s, '&', '&')) {
        const double rhs = ParseComparison(s);
        v = Truth(IsTrue(v) && IsTrue(rhs));
    }
    return v;
}

// or: and { "||" and }   (no short-circuit)
double ParseOr(ExprState& s) {
    double v = ParseAnd(s);
    while (AcceptPair(s, '|', '|')) {
        const double rhs = ParseAnd(s);
        v = Truth(IsTrue(v) || IsTrue(rhs));
    }
    return v;
}

// conditional: or [ "?" conditional ":" conditional ]   (both branches read)
double ParseConditional(ExprState& s) {
    const double condition = ParseOr(s);
    if (!Accept(s, '?')) return condition;
    const double then_value = ParseConditional(s);
    Expect(s, ':');
    const double else_value = ParseConditional(s);
    return IsTrue(condition) ? then_value : else_value;
}

}  // namespace

double EvaluateExpression(const ToolDef& tool, const char* text, const double* param_values,
                          const double* output_values, int32_t* error) {
    ExprState s{&tool, param_values, output_values, text, 0};
    double value = 0.0;
    if (text == nullptr || *text == '\0') {
        s.error = 1;
    } else {
        value = ParseConditional(s);
        SkipSpace(s);
        if (*s.cursor != '\0' || !std::isfinite(value)) s.error = 1;
    }
    if (error != nullptr) *error = s.error;
    return value;
}
