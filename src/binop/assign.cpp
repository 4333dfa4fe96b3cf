#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "binop/reduction.h"
#include "operand/operand.h"
#include "stmt/stmt.h"

namespace tarvik {

namespace {

constexpr char BLANK = ' ';
constexpr std::string_view PLAIN_ASSIGNMENT = "=";

// A few operand kinds, written out as in the tables below.
struct Kinds {
  constexpr Kinds(std::initializer_list<int> list) {
    for (const int kind : list) kinds[count++] = kind;
  }
  constexpr bool has(int kind) const {
    for (int i = 0; i < count; ++i)
      if (kinds[i] == kind) return true;
    return false;
  }
  int kinds[8]{};
  int count = 0;
};

// Which targets a row of a preparation table applies to.
struct Targets {
  Kinds kinds;
  bool except;  // every target but these
  constexpr bool match(int kind) const { return kinds.has(kind) != except; }
};
constexpr Targets only(Kinds kinds) { return {kinds, false}; }
constexpr Targets all_but(Kinds kinds) { return {kinds, true}; }
constexpr Targets ANY_TARGET = all_but({});

// Where the generator copies the source before the store.
enum class Into { nothing, register_a, int_temporary, long_temporary };

// Whether the rows below a row that was taken still look at the source it left.
enum class Then { stop, go_on };

// One row: for a source of `sources` and a matching target, the copy `into`, after which the
// source is of `becomes[0]` (from an unsigned source) or `becomes[1]` (from a signed one).
struct Preparation {
  Kinds sources;
  Targets targets;
  Into into;
  int becomes[2];
  Then then;
};

constexpr Kinds CHAR_VARIABLES = {OPERAND_KIND_UCHAR, OPERAND_KIND_CHAR};
constexpr Kinds CHAR_TARGETS = {OPERAND_KIND_UCHAR, OPERAND_KIND_CHAR, OPERAND_KIND_UCHAR_VIA_PTR,
                                OPERAND_KIND_CHAR_VIA_PTR};
constexpr Kinds INT_VIA_POINTER = {OPERAND_KIND_UINT_VIA_PTR, OPERAND_KIND_INT_VIA_PTR};
constexpr Kinds LONG_VIA_POINTER = {OPERAND_KIND_ULONG_VIA_PTR, OPERAND_KIND_LONG_VIA_PTR};
constexpr Kinds VALUES_IN_REGISTERS = {OPERAND_KIND_A_UNSIGNED, OPERAND_KIND_A_SIGNED, OPERAND_KIND_A,
                                       OPERAND_KIND_B};

// Values through a pointer are read out first, unless the target takes them as they are.
constexpr Preparation READ_THROUGH_POINTER[] = {
    {{OPERAND_KIND_UCHAR_VIA_PTR, OPERAND_KIND_CHAR_VIA_PTR},
     all_but({OPERAND_KIND_A_UNSIGNED, OPERAND_KIND_A_SIGNED}),
     Into::register_a,
     {OPERAND_KIND_A_UNSIGNED, OPERAND_KIND_A_SIGNED},
     Then::stop},
    {INT_VIA_POINTER, all_but({OPERAND_KIND_UINT, OPERAND_KIND_INT}), Into::int_temporary,
     {OPERAND_KIND_UINT, OPERAND_KIND_INT}, Then::stop},
    {LONG_VIA_POINTER, all_but({OPERAND_KIND_ULONG, OPERAND_KIND_LONG}), Into::long_temporary,
     {OPERAND_KIND_ULONG, OPERAND_KIND_LONG}, Then::stop},
    {{OPERAND_KIND_UCHAR_PTR, OPERAND_KIND_UINT_PTR, OPERAND_KIND_ULONG_PTR, OPERAND_KIND_CHAR_PTR,
      OPERAND_KIND_INT_PTR, OPERAND_KIND_LONG_PTR},
     ANY_TARGET,
     Into::nothing,
     {OPERAND_KIND_ADDRESS, OPERAND_KIND_ADDRESS},
     Then::stop},
};

// Then the source is brought to a form that the store into the target takes. A char loaded
// into A goes on to the rows below, which widen it for a target through a pointer.
constexpr Preparation FIT_TO_TARGET[] = {
    {CHAR_VARIABLES,
     all_but({OPERAND_KIND_A, OPERAND_KIND_B, OPERAND_KIND_A2, OPERAND_KIND_A1, OPERAND_KIND_A0,
              OPERAND_KIND_A_UNSIGNED, OPERAND_KIND_A_SIGNED}),
     Into::register_a,
     {OPERAND_KIND_A_UNSIGNED, OPERAND_KIND_A_SIGNED},
     Then::go_on},
    {{OPERAND_KIND_UINT, OPERAND_KIND_INT}, only(CHAR_TARGETS), Into::register_a, {OPERAND_KIND_A, OPERAND_KIND_A},
     Then::stop},
    {{OPERAND_KIND_UINT, OPERAND_KIND_INT}, only(LONG_VIA_POINTER), Into::long_temporary,
     {OPERAND_KIND_ULONG, OPERAND_KIND_ULONG}, Then::stop},
    {{OPERAND_KIND_ULONG, OPERAND_KIND_LONG, OPERAND_KIND_ADDRESS}, only(CHAR_TARGETS), Into::register_a,
     {OPERAND_KIND_A, OPERAND_KIND_A}, Then::stop},
    {VALUES_IN_REGISTERS, only(INT_VIA_POINTER), Into::int_temporary, {OPERAND_KIND_UINT, OPERAND_KIND_UINT},
     Then::stop},
    {VALUES_IN_REGISTERS, only(LONG_VIA_POINTER), Into::long_temporary, {OPERAND_KIND_ULONG, OPERAND_KIND_ULONG},
     Then::stop},
};

bool is_signed_source(int kind) {
  return kind == OPERAND_KIND_CHAR || kind == OPERAND_KIND_CHAR_VIA_PTR || kind == OPERAND_KIND_INT_VIA_PTR ||
         kind == OPERAND_KIND_LONG_VIA_PTR;
}

StatusText assign(OperandDescriptor target, OperandDescriptor source) {
  Text op(PLAIN_ASSIGNMENT);
  return generate_binary_operation_code(0, target, op, source);
}

// The copy of one row; the temporary is taken only once the copy is done.
StatusText prepare(const Preparation& row, OperandDescriptor& y) {
  const int kind = row.becomes[is_signed_source(get_operand_kind(y)) ? 1 : 0];
  if (row.into == Into::nothing) {
    y = make_operand(kind, y);
    return Text(STATUS_DONE);
  }
  if (row.into == Into::register_a) {
    StatusText status = assign(REGISTER_A, y);
    if (status == STATUS_DONE) y = make_operand(kind, 0);
    return status;
  }
  const bool is_long = row.into == Into::long_temporary;
  const OperandDescriptor temporary = make_operand(is_long ? OPERAND_KIND_ULONG : OPERAND_KIND_UINT, g_temp_ram_next);
  StatusText status = assign(temporary, y);
  if (status != STATUS_DONE) return status;
  y = make_operand(kind, temporary);
  g_temp_ram_next += is_long ? 4 : 2;
  return status;
}

// The first row of the table that fits the pair, and the rows below it when it goes on.
template <std::size_t N>
StatusText prepare_by(const Preparation (&table)[N], OperandDescriptor x, OperandDescriptor& y) {
  for (const Preparation& row : table) {
    if (!row.sources.has(get_operand_kind(y)) || !row.targets.match(get_operand_kind(x))) continue;
    StatusText status = prepare(row, y);
    if (status != STATUS_DONE || row.then == Then::stop) return status;
  }
  return Text(STATUS_DONE);
}

StatusText prepare_source(OperandDescriptor x, OperandDescriptor& y) {
  StatusText status = prepare_by(READ_THROUGH_POINTER, x, y);
  if (status != STATUS_DONE) return status;
  return prepare_by(FIT_TO_TARGET, x, y);
}

// The scan over the text for the assignment to compile next.
struct AssignmentScan {
  explicit AssignmentScan(ByteArray& assignment_text) : text(assignment_text) {}

  ByteArray& text;
  std::size_t pos = 0;
  OperandDescriptor x = 0;  // the token read last; kept over a rescan
};

// The operator found last, with its right side.
struct Assignment {
  std::string_view op;
  std::size_t op_pos = 0;
  OperandDescriptor y = 0;
  std::size_t y_pos = 0;
};

void skip_blanks(AssignmentScan& scan) {
  while (scan.pos < scan.text.size() && scan.text[scan.pos] == BLANK) ++scan.pos;
}

bool starts_token(const ByteArray& text, std::size_t pos) {
  return pos + 4 <= text.size() && static_cast<std::uint8_t>(text[pos]) >= 0x80;
}

std::string_view assignment_operator_at(const ByteArray& text, std::size_t pos) {
  for (const std::string_view op : COMPOUND_ASSIGNMENT_OPERATORS)
    if (text.compare(pos, op.size(), op) == 0) return op;
  if (text.compare(pos, PLAIN_ASSIGNMENT.size(), PLAIN_ASSIGNMENT) == 0) return PLAIN_ASSIGNMENT;
  return {};
}

void blank(ByteArray& text, std::size_t pos, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) text[pos + i] = BLANK;
}

// X op= Y becomes X = X op Y, with X op Y where Y stood, and is reduced again.
StatusText compile_compound(AssignmentScan& scan, const Assignment& a) {
  const std::string_view op = a.op.substr(0, a.op.size() - 1);
  blank(scan.text, a.op_pos, op.size());
  write_operand_token(scan.text, a.y_pos, scan.x);
  scan.text.replace(a.y_pos + 4, op.size(), op);
  write_operand_token(scan.text, a.y_pos + 4 + op.size(), a.y);
  // The reduction leaves its copy in g_reduced_expression, the caller's own text.
  return reduce_binary_operators(scan.text);
}

// X = Y: the source prepared for the target, then the store; X's token stays as the value.
StatusText compile_plain(AssignmentScan& scan, const Assignment& a) {
  OperandDescriptor x = scan.x;
  // A pointer is stored as its 3-byte address value.
  if (is_pointer(get_operand_kind(x))) x = make_operand(OPERAND_KIND_ADDRESS, x);
  OperandDescriptor y = a.y;
  StatusText status = prepare_source(x, y);
  if (status != STATUS_DONE) return status;
  status = assign(x, y);
  if (status != STATUS_DONE) return status;
  blank(scan.text, a.op_pos, 1);
  blank(scan.text, a.y_pos, 4);
  return status;
}

// The operator at the scan position: the last assignment of the text is compiled and the
// scan starts again; an earlier one is stepped over, its right side read as the next X.
StatusText take_assignment(AssignmentScan& scan, std::string_view op) {
  Assignment a{op, scan.pos};
  scan.pos += op.size();
  skip_blanks(scan);
  // A right side that is no operand token would compile nothing and report success.
  if (!starts_token(scan.text, scan.pos)) return Text(STATUS_ASSIGNMENT_UNRECOGNISED_SYMBOL);
  a.y = read_operand_token(scan.text, scan.pos);
  a.y_pos = scan.pos;
  scan.pos += 4;
  skip_blanks(scan);
  if (scan.pos < scan.text.size()) {
    scan.x = a.y;
    return Text(STATUS_CONTINUE);
  }
  const bool compound = op != PLAIN_ASSIGNMENT;
  // The rewrite must stay inside the text, also after a token cut short at its end.
  if (compound && a.y_pos + 4 + op.size() - 1 + 4 > scan.text.size())
    return Text(STATUS_ASSIGNMENT_UNRECOGNISED_SYMBOL);
  ByteArray& spill_text = register_a_token_text(scan.text);
  StatusText status = spill_register_a(spill_text, {scan.x, a.y});
  if (status != STATUS_DONE) return status;
  status = compound ? compile_compound(scan, a) : compile_plain(scan, a);
  if (status != STATUS_DONE) return status;
  scan.pos = 0;
  return Text(STATUS_CONTINUE);
}

StatusText scan_step(AssignmentScan& scan) {
  if (scan.pos >= scan.text.size()) return Text(STATUS_DONE);
  const auto byte = static_cast<std::uint8_t>(scan.text[scan.pos]);
  if (byte == BLANK) {
    ++scan.pos;
    return Text(STATUS_CONTINUE);
  }
  if (byte >= 0x80) {
    if (!starts_token(scan.text, scan.pos)) return Text(STATUS_ASSIGNMENT_UNRECOGNISED_SYMBOL);
    scan.x = read_operand_token(scan.text, scan.pos);
    scan.pos += 4;
    return Text(STATUS_CONTINUE);
  }
  const std::string_view op = assignment_operator_at(scan.text, scan.pos);
  if (op.empty()) return Text(STATUS_ASSIGNMENT_UNRECOGNISED_SYMBOL);
  return take_assignment(scan, op);
}

}  // namespace

StatusText rewrite_compound_assignments(ByteArray& text) {
  text += REWRITE_PAD;
  AssignmentScan scan{text};
  StatusText status(STATUS_CONTINUE);
  while (status == STATUS_CONTINUE) status = scan_step(scan);
  g_reduced_expression = text;  // the caller's text is g_reduced_expression itself
  return status;
}

}  // namespace tarvik
