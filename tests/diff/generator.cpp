#include "diff/generator.h"

#include <iterator>
#include <random>
#include <string_view>

namespace tarvik::diff {

namespace {

bool fits_signed(std::int64_t c, int width) {
  const std::int64_t half = std::int64_t{1} << (8 * width - 1);
  return c >= -half && c < half;
}
bool fits_unsigned(std::int64_t c, int width) { return c >= 0 && c < (std::int64_t{1} << (8 * width)); }
bool is_compare(Op op) { return op >= Op::Lt; }
bool is_bitwise(Op op) { return op == Op::And || op == Op::Or || op == Op::Xor; }

std::int64_t wrap32(std::int64_t v) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(v)); }

}  // namespace

// The dialect's typing rules, in one place. They differ from C throughout: there is no promotion
// to int, so two 8-bit operands compute in 8 bits and two 16-bit ones in 16.
Type operation_type(Op op, const Type& l, const Type& r) {
  if (op == Op::Shl || op == Op::Shr) {
    // The left operand alone decides; a constant there takes the smallest signed type holding it.
    if (!l.constant) return l;
    return Type{false, 0, fits_signed(l.value, 1) ? 1 : fits_signed(l.value, 2) ? 2 : 4, true};
  }
  if (l.constant || r.constant) {
    // A constant leaves the other operand alone when that operand's type holds it; otherwise the
    // operand is widened to a signed type, but for an unsigned char beside 32768 to 65535, which
    // becomes an unsigned int. Bitwise operators test unsigned ranges even for signed operands
    // (c & 0xFF stays a signed char), the others the operand's own range.
    const Type& other = l.constant ? r : l;
    const std::int64_t c = l.constant ? l.value : r.value;
    if (other.width == 4) return other;
    const bool stays_unsigned = other.width == 1 && !other.is_signed && c > 32767;
    if (is_bitwise(op)) {
      if (fits_unsigned(c, other.width)) return other;
      const bool two = other.width == 1 && fits_unsigned(c, 2);
      return Type{false, 0, two ? 2 : 4, !(two && stays_unsigned)};
    }
    if (other.is_signed ? fits_signed(c, other.width) : fits_unsigned(c, other.width)) return other;
    // A negative constant takes an unsigned char to a long, past int.
    const bool two = other.width == 1 && (other.is_signed ? fits_signed(c, 2) : fits_unsigned(c, 2));
    return Type{false, 0, two ? 2 : 4, !(two && stays_unsigned)};
  }
  // The narrower operand is widened to the wider width as a signed value; the result is signed
  // only when both operands then are (an int with an unsigned char is signed, unlike C).
  if (l.width == r.width) return Type{false, 0, l.width, l.is_signed && r.is_signed};
  const Type& wide = l.width > r.width ? l : r;
  return Type{false, 0, wide.width, wide.is_signed};
}

std::int64_t fold(Op op, std::int64_t a, std::int64_t b) {
  switch (op) {
    case Op::Add: return wrap32(a + b);
    case Op::Sub: return wrap32(a - b);
    // The product's low 32 bits, as the generated multiply computes them.
    case Op::Mul: return wrap32(static_cast<std::int64_t>(static_cast<std::uint64_t>(a) * static_cast<std::uint64_t>(b)));
    case Op::Div: return b == 0 ? 0 : wrap32(a / b);
    case Op::Mod: return wrap32(a % b);
    case Op::And: return wrap32(a & b);
    case Op::Or: return wrap32(a | b);
    case Op::Xor: return wrap32(a ^ b);
    case Op::Shl: return wrap32(static_cast<std::int64_t>(static_cast<std::uint32_t>(a) << (b & 31)));
    case Op::Shr: return wrap32(static_cast<std::int32_t>(a) >> (b & 31));
    case Op::Lt: return a < b;
    case Op::Gt: return a > b;
    case Op::Le: return a <= b;
    case Op::Ge: return a >= b;
    case Op::Eq: return a == b;
    case Op::Ne: return a != b;
  }
  return 0;
}

namespace {

constexpr std::string_view SYMBOL[] = {"+", "-", "*", "/", "%", "&", "|", "^", "<<", ">>", "<", ">", "<=", ">=", "==", "!="};
constexpr std::string_view TWIN_OP[] = {"ADD", "SUB", "MUL", "DIV", "MOD", "AND", "OR", "XOR",
                                        "SHL", "SHR", "LT",  "GT",  "LE",  "GE",  "EQ",  "NE"};

std::string_view symbol(Op op) { return SYMBOL[static_cast<int>(op)]; }

std::string type_name(const Type& t) {
  const char* base = t.width == 1 ? "char" : t.width == 2 ? "int" : "long int";
  return (t.is_signed ? "" : "unsigned ") + std::string(base);
}

std::string norm(const std::string& twin, const Type& t) {
  return "N(" + twin + ", " + std::to_string(t.width) + ", " + (t.is_signed ? "1" : "0") + ")";
}

std::string literal(std::int64_t v) { return "(L)" + std::to_string(v) + "LL"; }

struct Expr {
  std::string text, twin;
  Type type;
};

struct Var {
  std::string name;
  Type type;
};

struct Array {
  std::string name, pointer;
  Type type;
  int size;
};

struct Function {
  std::string name;
  Type result;
  std::vector<Type> params;
};

struct Scope {
  std::vector<Var> readable, writable;
  std::vector<std::string> counters;  // loop counters still free at this depth
  bool in_function = false;
};

class Generator {
 public:
  explicit Generator(std::uint32_t seed) : rng_(seed) {}

  Program run(std::uint32_t seed);

 private:
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  bool chance(int percent) { return pick(100) < percent; }

  Type random_type() { return Type{false, 0, 1 << pick(3), chance(50)}; }
  std::int64_t random_value(const Type& t);
  std::int64_t random_constant();

  Expr constant(std::int64_t v);
  Expr leaf(const Scope& scope, int depth);
  Expr variable(const Scope& scope);
  Expr expression(const Scope& scope, int depth);
  Expr non_constant(const Scope& scope, int depth);
  Expr binary(Op op, Expr l, Expr r);
  Expr binary_checked(Op op, const Scope& scope, int depth);
  Expr safe_divisor(const Scope& scope, int depth);
  Expr shift_count(const Scope& scope, int depth);
  Expr unary(const Scope& scope, int depth);
  Expr condition(const Scope& scope, int depth);

  void statements(Scope scope, int count, int depth, bool in_loop, std::string& text, std::string& twin, const std::string& indent);
  void statement(Scope& scope, int depth, bool in_loop, std::string& text, std::string& twin, const std::string& indent);
  void assignment(const Scope& scope, std::string& text, std::string& twin, const std::string& indent);

  std::mt19937 rng_;
  std::vector<Var> globals_;
  std::vector<Array> arrays_;
  std::vector<Function> functions_;
  std::string string_;
};

std::int64_t Generator::random_value(const Type& t) {
  const std::int64_t lo = t.is_signed ? -(std::int64_t{1} << (8 * t.width - 1)) : 0;
  const std::int64_t hi = t.is_signed ? (std::int64_t{1} << (8 * t.width - 1)) - 1 : (std::int64_t{1} << (8 * t.width)) - 1;
  switch (pick(6)) {
    case 0: return lo;
    case 1: return hi;
    case 2: return pick(3) - 1 < lo ? 0 : pick(3) - 1;
    default: return std::uniform_int_distribution<std::int64_t>(lo, hi)(rng_);
  }
}

std::int64_t Generator::random_constant() {
  static constexpr std::int64_t EDGES[] = {0,      1,      2,     3,      7,       100,     127,    128,   200,
                                           255,    256,    1000,  32767,  32768,   40000,   65535,  65536,
                                           100000, -1,     -2,    -100,   -128,    -129,    -1000,  -32768,
                                           -32769, -70000, 12345, 0x7FFF, 0x12345, 2147483647};
  if (chance(70)) return EDGES[pick(std::size(EDGES))];
  return std::uniform_int_distribution<std::int32_t>(-2147483647, 2147483647)(rng_);
}

Expr Generator::constant(std::int64_t v) {
  // A negative constant is a constant under unary minus.
  return Expr{std::to_string(v), literal(v), Type{true, v, 4, true}};
}

Expr Generator::variable(const Scope& scope) {
  const Var& v = scope.readable[pick(static_cast<int>(scope.readable.size()))];
  return Expr{v.name, v.name, v.type};
}

Expr Generator::leaf(const Scope& scope, int depth) {
  switch (pick(12)) {
    case 0:
    case 1:
    case 2: return constant(random_constant());
    case 3: {
      const Array& a = arrays_[pick(static_cast<int>(arrays_.size()))];
      const int k = pick(a.size);
      return Expr{a.name + "[" + std::to_string(k) + "]", a.name + "[" + std::to_string(k) + "]", a.type};
    }
    case 4: {
      // An index computed at run time, kept in range by a mask.
      const Array& a = arrays_[pick(static_cast<int>(arrays_.size()))];
      const Expr index = binary(Op::And, non_constant(scope, depth > 0 ? depth - 1 : 0), constant(a.size - 1));
      return Expr{a.name + "[" + index.text + "]", a.name + "[" + index.twin + "]", a.type};
    }
    case 5: {
      const Array& a = arrays_[pick(static_cast<int>(arrays_.size()))];
      const std::string k = std::to_string(pick(a.size));
      const std::string text = chance(50) ? "*(" + a.pointer + " + " + k + ")" : a.pointer + "[" + k + "]";
      return Expr{text, a.name + "[" + k + "]", a.type};
    }
    case 6: {
      const std::string k = std::to_string(pick(static_cast<int>(string_.size()) + 1));
      return Expr{"sp[" + k + "]", "(L)(signed char)\"" + string_ + "\"[" + k + "]", Type{false, 0, 1, true}};
    }
    case 7: {
      const Var& v = scope.readable[pick(static_cast<int>(scope.readable.size()))];
      return Expr{"sizeof(" + v.name + ")", literal(v.type.width), Type{true, v.type.width, 4, true}};
    }
    case 8:
      if (depth > 0 && !functions_.empty()) {
        const Function& f = functions_[pick(static_cast<int>(functions_.size()))];
        std::string text = f.name + "(", twin = f.name + "(";
        for (std::size_t i = 0; i < f.params.size(); ++i) {
          const Expr arg = expression(scope, depth - 1);
          text += (i ? ", " : "") + arg.text;
          twin += (i ? ", " : "") + arg.twin;
        }
        return Expr{text + ")", twin + ")", f.result};
      }
      [[fallthrough]];
    default: return variable(scope);
  }
}

Expr Generator::non_constant(const Scope& scope, int depth) {
  Expr e = expression(scope, depth);
  return e.type.constant ? variable(scope) : e;
}

Expr Generator::binary(Op op, Expr l, Expr r) {
  const std::string text = "(" + l.text + " " + std::string(symbol(op)) + " " + r.text + ")";
  if (l.type.constant && r.type.constant) {
    const std::int64_t v = fold(op, l.type.value, r.type.value);
    return Expr{text, literal(v), Type{true, v, 4, true}};
  }
  const Type t = operation_type(op, l.type, r.type);
  const std::string twin = std::string(TWIN_OP[static_cast<int>(op)]) + "(" + l.twin + ", " + r.twin + ", " +
                           std::to_string(t.width) + ", " + (t.is_signed ? "1" : "0") + ")";
  // A comparison gives 0 or 1 as a signed char.
  return Expr{text, twin, is_compare(op) ? Type{false, 0, 1, true} : t};
}

// Never 0 and never -1, so no division traps or overflows on either side.
Expr Generator::safe_divisor(const Scope& scope, int depth) {
  if (chance(40)) {
    static constexpr std::int64_t DIVISORS[] = {1, 2, 3, 7, 10, 100, 127, 128, 255, 256, 1000, 40000, 70000, -2, -5, -128, -129};
    return constant(DIVISORS[pick(std::size(DIVISORS))]);
  }
  return binary(Op::Or, binary(Op::And, expression(scope, depth), constant(127)), constant(1));
}

Expr Generator::shift_count(const Scope& scope, int depth) {
  if (chance(50)) return constant(pick(32));
  return binary(Op::And, non_constant(scope, depth), constant(chance(50) ? 7 : 31));
}

Expr Generator::binary_checked(Op op, const Scope& scope, int depth) {
  Expr l = expression(scope, depth - 1);
  if (op == Op::Div || op == Op::Mod) return binary(op, l, safe_divisor(scope, depth - 1));
  if (op == Op::Shl || op == Op::Shr) return binary(op, l, shift_count(scope, depth - 1));
  return binary(op, l, expression(scope, depth - 1));
}

Expr Generator::unary(const Scope& scope, int depth) {
  const Expr e = expression(scope, depth - 1);
  const std::string operand = e.text[0] == '-' || e.text[0] == '~' || e.text[0] == '!' ? "(" + e.text + ")" : e.text;
  switch (pick(3)) {
    case 0: {
      if (e.type.constant) return Expr{"-" + operand, literal(wrap32(-e.type.value)), Type{true, wrap32(-e.type.value), 4, true}};
      // Negation widens an unsigned char to int and an unsigned int to long; a signed type, and
      // an unsigned long, keep their type and wrap.
      Type t = e.type;
      if (!t.is_signed && t.width < 4) t = Type{false, 0, t.width * 2, true};
      return Expr{"-" + operand, norm("-" + e.twin, t), t};
    }
    case 1:
      if (e.type.constant) return Expr{"~" + operand, literal(wrap32(~e.type.value)), Type{true, wrap32(~e.type.value), 4, true}};
      return Expr{"~" + operand, norm("~" + e.twin, e.type), e.type};
    default:
      if (e.type.constant) return Expr{"!" + operand, literal(e.type.value == 0), Type{true, e.type.value == 0, 4, true}};
      return Expr{"!" + operand, "(L)(" + e.twin + " == 0)", Type{false, 0, 1, true}};
  }
}

Expr Generator::condition(const Scope& scope, int depth) {
  switch (pick(6)) {
    case 0: return variable(scope);
    case 1: {
      const Expr e = non_constant(scope, depth);
      return Expr{"!" + (e.text[0] == '-' ? "(" + e.text + ")" : e.text), "(L)(" + e.twin + " == 0)", Type{false, 0, 1, true}};
    }
    case 2:
      if (depth > 0) {
        const Expr l = condition(scope, depth - 1), r = condition(scope, depth - 1);
        const bool both = chance(50);
        return Expr{"(" + l.text + (both ? " && " : " || ") + r.text + ")",
                    "(L)((" + l.twin + " != 0)" + (both ? " && " : " || ") + "(" + r.twin + " != 0))", Type{false, 0, 1, true}};
      }
      [[fallthrough]];
    default: return binary(static_cast<Op>(static_cast<int>(Op::Lt) + pick(6)), non_constant(scope, depth), expression(scope, depth));
  }
}

Expr Generator::expression(const Scope& scope, int depth) {
  if (depth <= 0 || chance(25)) return leaf(scope, depth);
  const int r = pick(20);
  if (r < 13) return binary_checked(static_cast<Op>(pick(16)), scope, depth);
  if (r < 16) return unary(scope, depth);
  if (r < 18) {
    // The conditional's value is a signed long, whatever its two parts.
    const Expr c = condition(scope, depth - 1), a = expression(scope, depth - 1), b = expression(scope, depth - 1);
    const Type t{false, 0, 4, true};
    return Expr{"(" + c.text + " ? " + a.text + " : " + b.text + ")", "(" + c.twin + " != 0 ? " + norm(a.twin, t) + " : " + norm(b.twin, t) + ")", t};
  }
  return condition(scope, depth - 1);
}

void Generator::assignment(const Scope& scope, std::string& text, std::string& twin, const std::string& indent) {
  // The target: a variable, or in main also an array element, directly or through a pointer.
  std::string target_text, target_twin;
  Type target;
  if (!scope.in_function && chance(25)) {
    const Array& a = arrays_[pick(static_cast<int>(arrays_.size()))];
    const std::string k = std::to_string(pick(a.size));
    target_text = chance(50) ? a.name + "[" + k + "]" : "*(" + a.pointer + " + " + k + ")";
    target_twin = a.name + "[" + k + "]";
    target = a.type;
  } else {
    const Var& v = scope.writable[pick(static_cast<int>(scope.writable.size()))];
    target_text = target_twin = v.name;
    target = v.type;
  }
  const int form = pick(10);
  if (form < 5) {
    const Expr e = expression(scope, 1 + pick(3));
    text += indent + target_text + " = " + e.text + ";\r\n";
    twin += indent + target_twin + " = " + norm(e.twin, target) + ";\r\n";
  } else if (form < 9) {
    // x op= e computes x op (e) with x's own type as the left operand.
    static constexpr Op COMPOUND[] = {Op::Add, Op::Sub, Op::Mul, Op::Div, Op::Mod, Op::And, Op::Or, Op::Xor, Op::Shl, Op::Shr};
    const Op op = COMPOUND[pick(std::size(COMPOUND))];
    const int depth = pick(3);
    Expr e = op == Op::Div || op == Op::Mod ? safe_divisor(scope, depth)
             : op == Op::Shl || op == Op::Shr ? shift_count(scope, depth)
                                                : expression(scope, depth);
    const Expr result = binary(op, Expr{target_text, target_twin, target}, e);
    text += indent + target_text + " " + std::string(symbol(op)) + "= " + e.text + ";\r\n";
    twin += indent + target_twin + " = " + norm(result.twin, target) + ";\r\n";
  } else {
    static constexpr const char* FORMS[] = {"++", "--"};
    const int up = pick(2);
    text += indent + (chance(50) ? FORMS[up] + target_text : target_text + FORMS[up]) + ";\r\n";
    twin += indent + target_twin + " = " + norm(target_twin + (up == 0 ? " + 1" : " - 1"), target) + ";\r\n";
  }
}

void Generator::statement(Scope& scope, int depth, bool in_loop, std::string& text, std::string& twin, const std::string& indent) {
  const int r = pick(20);
  const std::string inner = indent + "  ";
  if (r < 10 || depth >= 2) {
    if (in_loop && r == 9) {
      const Expr c = condition(scope, 1);
      const char* jump = chance(50) ? "break" : "continue";
      text += indent + "if (" + c.text + ") " + jump + ";\r\n";
      twin += indent + "if (" + c.twin + " != 0) " + jump + ";\r\n";
      return;
    }
    assignment(scope, text, twin, indent);
  } else if (r < 14) {
    const Expr c = condition(scope, 2);
    text += indent + "if (" + c.text + ") {\r\n";
    twin += indent + "if (" + c.twin + " != 0) {\r\n";
    statements(scope, 1 + pick(3), depth + 1, in_loop, text, twin, inner);
    if (chance(50)) {
      text += indent + "} else {\r\n";
      twin += indent + "} else {\r\n";
      statements(scope, 1 + pick(3), depth + 1, in_loop, text, twin, inner);
    }
    text += indent + "}\r\n";
    twin += indent + "}\r\n";
  } else if (!scope.counters.empty()) {
    // Loops count a counter that their bodies never write, so every loop ends.
    Scope body = scope;
    const std::string k = body.counters.back();
    body.counters.pop_back();
    const std::string n = std::to_string(1 + pick(4));
    const int shape = pick(3);
    if (shape == 0) {
      text += indent + "for (" + k + " = 0; " + k + " < " + n + "; " + k + "++) {\r\n";
      twin += indent + "for (" + k + " = 0; " + k + " < " + n + "; " + k + "++) {\r\n";
    } else if (shape == 1) {
      text += indent + k + " = 0;\r\n" + indent + "while (" + k + " < " + n + ") {\r\n" + inner + k + "++;\r\n";
      twin += indent + k + " = 0;\r\n" + indent + "while (" + k + " < " + n + ") {\r\n" + inner + k + "++;\r\n";
    } else {
      text += indent + k + " = 0;\r\n" + indent + "do {\r\n" + inner + k + "++;\r\n";
      twin += indent + k + " = 0;\r\n" + indent + "do {\r\n" + inner + k + "++;\r\n";
    }
    statements(body, 1 + pick(3), depth + 1, true, text, twin, inner);
    if (shape == 2) {
      text += indent + "} while (" + k + " < " + n + ");\r\n";
      twin += indent + "} while (" + k + " < " + n + ");\r\n";
    } else {
      text += indent + "}\r\n";
      twin += indent + "}\r\n";
    }
  } else {
    assignment(scope, text, twin, indent);
  }
}

void Generator::statements(Scope scope, int count, int depth, bool in_loop, std::string& text, std::string& twin, const std::string& indent) {
  for (int i = 0; i < count; ++i) statement(scope, depth, in_loop, text, twin, indent);
}

Program Generator::run(std::uint32_t seed) {
  Program program;
  program.seed = seed;
  std::string& src = program.source;
  std::string twin;
  int offset = 0;

  // Scalars of every type, then arrays, a pointer per array, the string pointer and the counters.
  const int scalars = 6 + pick(5);
  for (int i = 0; i < scalars; ++i) {
    const Type t = i < 6 ? Type{false, 0, 1 << (i / 2), i % 2 == 1} : random_type();
    const std::int64_t v = random_value(t);
    const Var var{"g" + std::to_string(i), t};
    globals_.push_back(var);
    src += type_name(t) + " " + var.name + " = " + std::to_string(v) + ";\r\n";
    twin += "L " + var.name + " = " + norm(literal(v), t) + ";\n";
    program.cells.push_back(Cell{offset, t.width});
    offset += t.width;
  }
  const int arrays = 1 + pick(3);
  for (int i = 0; i < arrays; ++i) {
    const Array a{"ar" + std::to_string(i), "p" + std::to_string(i), random_type(), 4};
    arrays_.push_back(a);
    std::string init, twin_init;
    for (int k = 0; k < a.size; ++k) {
      const std::int64_t v = random_value(a.type);
      init += (k ? ", " : "") + std::to_string(v);
      twin_init += (k ? ", " : "") + norm(literal(v), a.type);
      program.cells.push_back(Cell{offset, a.type.width});
      offset += a.type.width;
    }
    src += type_name(a.type) + " " + a.name + "[4] = {" + init + "};\r\n";
    twin += "L " + a.name + "[4] = {" + twin_init + "};\n";
  }
  for (const Array& a : arrays_) {
    src += type_name(a.type) + " *" + a.pointer + ";\r\n";
    offset += 3;
  }
  src += "char *sp;\r\n";
  offset += 3;
  static constexpr std::string_view WORDS[] = {"abc", "Hello", "(;)", "x", "0123456", "//*"};
  string_ = WORDS[pick(std::size(WORDS))];
  const std::vector<std::string> counters = {"i0", "i1"};
  for (const std::string& k : counters) {
    src += "unsigned char " + k + " = 0;\r\n";
    twin += "L " + k + " = 0;\n";
    program.cells.push_back(Cell{offset, 1});
    offset += 1;
  }

  // Functions read their parameters, locals and the globals and write only their own variables,
  // so the order in which an expression's calls run cannot matter.
  const int functions = pick(4);
  for (int f = 0; f < functions; ++f) {
    Function fn{"f" + std::to_string(f), random_type(), {}};
    Scope scope;
    scope.in_function = true;
    scope.readable = globals_;
    std::string params, twin_params, twin_norms, locals, twin_locals;
    const int n = pick(4);
    for (int i = 0; i < n; ++i) {
      const Var p{"x" + std::to_string(i), random_type()};
      fn.params.push_back(p.type);
      params += (i ? ", " : "") + type_name(p.type) + " " + p.name;
      twin_params += (i ? ", " : "") + std::string("L ") + p.name;
      twin_norms += "  " + p.name + " = " + norm(p.name, p.type) + ";\n";
      scope.readable.push_back(p);
      scope.writable.push_back(p);
    }
    const int m = 1 + pick(2);
    for (int i = 0; i < m; ++i) {
      const Var v{"v" + std::to_string(i), random_type()};
      const std::int64_t init = random_value(v.type);
      locals += "  " + type_name(v.type) + " " + v.name + " = " + std::to_string(init) + ";\r\n";
      twin_locals += "  L " + v.name + " = " + norm(literal(init), v.type) + ";\n";
      scope.readable.push_back(v);
      scope.writable.push_back(v);
    }
    locals += "  unsigned char k0 = 0;\r\n";
    twin_locals += "  L k0 = 0;\n";
    scope.counters = {"k0"};
    std::string body, twin_body;
    statements(scope, pick(4), 1, false, body, twin_body, "  ");
    const Expr result = expression(scope, 1 + pick(2));
    src += type_name(fn.result) + " " + fn.name + "(" + params + ") {\r\n" + locals + body + "  return " + result.text + ";\r\n}\r\n";
    twin += "static L " + fn.name + "(" + twin_params + ") {\n" + twin_norms + twin_locals + twin_body + "  return " +
            norm(result.twin, fn.result) + ";\n}\n";
    functions_.push_back(fn);
  }

  Scope scope;
  scope.readable = globals_;
  scope.writable = globals_;
  for (const std::string& k : counters) scope.readable.push_back(Var{k, Type{false, 0, 1, false}});
  scope.counters = counters;
  std::string body = "  sp = \"" + string_ + "\";\r\n", twin_body;
  for (const Array& a : arrays_) body += "  " + a.pointer + " = " + a.name + ";\r\n";
  statements(scope, 4 + pick(8), 0, false, body, twin_body, "  ");
  src += "void main() {\r\n" + body + "}\r\n";

  twin += "void run() {\n" + twin_body;
  for (const Var& v : globals_) twin += "  P(" + v.name + ", " + std::to_string(v.type.width) + ");\n";
  for (const Array& a : arrays_)
    for (int k = 0; k < a.size; ++k) twin += "  P(" + a.name + "[" + std::to_string(k) + "], " + std::to_string(a.type.width) + ");\n";
  for (const std::string& k : counters) twin += "  P(" + k + ", 1);\n";
  twin += "  std::printf(\"\\n\");\n}\n";
  program.twin = std::move(twin);
  return program;
}

// Every helper computes at the dialect's width and signedness: operands are first cut to the
// operation's type, so each value is exactly what the target's registers hold.
constexpr std::string_view PRELUDE = R"(#include <cstdio>
typedef long long L;
typedef unsigned long long U;
static L N(L v, int w, int s) {
  const U m = w == 4 ? 0xFFFFFFFFull : w == 2 ? 0xFFFFull : 0xFFull;
  const U u = (U)v & m;
  return s && (u >> (8 * w - 1)) ? (L)(u | ~m) : (L)u;
}
static L ADD(L a, L b, int w, int s) { return N(N(a, w, s) + N(b, w, s), w, s); }
static L SUB(L a, L b, int w, int s) { return N(N(a, w, s) - N(b, w, s), w, s); }
static L MUL(L a, L b, int w, int s) { return N((L)((U)N(a, w, s) * (U)N(b, w, s)), w, s); }
static L DIV(L a, L b, int w, int s) { return N(N(a, w, s) / N(b, w, s), w, s); }
static L MOD(L a, L b, int w, int s) { return N(N(a, w, s) % N(b, w, s), w, s); }
static L AND(L a, L b, int w, int s) { return N(N(a, w, s) & N(b, w, s), w, s); }
static L OR(L a, L b, int w, int s) { return N(N(a, w, s) | N(b, w, s), w, s); }
static L XOR(L a, L b, int w, int s) { return N(N(a, w, s) ^ N(b, w, s), w, s); }
static L SHL(L a, L n, int w, int s) { return n >= 32 ? 0 : N((L)((U)N(a, w, s) << n), w, s); }
static L SHR(L a, L n, int w, int s) { const L v = N(a, w, s); return n >= 40 ? (v < 0 ? -1 : 0) : v >> n; }
static L LT(L a, L b, int w, int s) { return N(a, w, s) < N(b, w, s); }
static L GT(L a, L b, int w, int s) { return N(a, w, s) > N(b, w, s); }
static L LE(L a, L b, int w, int s) { return N(a, w, s) <= N(b, w, s); }
static L GE(L a, L b, int w, int s) { return N(a, w, s) >= N(b, w, s); }
static L EQ(L a, L b, int w, int s) { return N(a, w, s) == N(b, w, s); }
static L NE(L a, L b, int w, int s) { return N(a, w, s) != N(b, w, s); }
static void P(L v, int w) { std::printf("%llx ", (U)N(v, w, 0)); }
)";

}  // namespace

Program generate(std::uint32_t seed) { return Generator(seed).run(seed); }

std::string twin_unit(const std::vector<Program>& programs) {
  std::string unit(PRELUDE);
  for (std::size_t i = 0; i < programs.size(); ++i)
    unit += "namespace p" + std::to_string(i) + " {\n" + programs[i].twin + "}\n";
  unit += "int main() {\n";
  for (std::size_t i = 0; i < programs.size(); ++i) unit += "  p" + std::to_string(i) + "::run();\n";
  return unit + "  return 0;\n}\n";
}

}  // namespace tarvik::diff
