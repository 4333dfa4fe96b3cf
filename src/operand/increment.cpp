#include <span>
#include <string_view>

#include "isa/isa.h"
#include "operand/unary.h"

namespace tarvik::operand {

namespace {

// How an object is stepped in place.
enum class Shape {
  char_in_ram,  // loaded into A, which leaves A2:A1:A0 at it; one word writes A±1 back
  via_pointer,  // copied into a temporary, stepped there and stored back
  variable,     // stepped where it stands
  pointer,      // its address value stepped by the element size
  register_a,   // `_A` itself
};

// Postfix rows: the temporary that keeps the old value, the operand token afterwards (for a
// char, the kind byte of the value left in A), and the direct form y = x++.
struct PostfixRow {
  int kind;
  Shape shape;
  int step;                       // bytes a pointer moves; 1 for the others
  int temporary_kind;             // the old value's holder
  int token_kind;                 // of the operand token afterwards
  int temporary_bytes;
  bool (*destination)(int kind);  // previous operands that allow the direct form; none if null
  int destination_kind;           // y's kind in the direct form's calls
};

constexpr PostfixRow POSTFIX_ROWS[] = {
    {0x92, Shape::char_in_ram, 1, 0, 0xEA, 0, nullptr, 0},
    {0x95, Shape::char_in_ram, 1, 0, 0xEB, 0, nullptr, 0},
    {0x93, Shape::via_pointer, 1, 0x84, 0x81, 2, is_v16, 0x81},
    {0x96, Shape::via_pointer, 1, 0x84, 0x84, 2, is_v16, 0x81},
    {0x94, Shape::via_pointer, 1, 0x85, 0x82, 4, is_v32, 0x82},
    {0x97, Shape::via_pointer, 1, 0x85, 0x85, 4, is_v32, 0x82},
    {0x80, Shape::char_in_ram, 1, 0, 0xEA, 0, nullptr, 0},
    {0x83, Shape::char_in_ram, 1, 0, 0xEB, 0, nullptr, 0},
    {0x81, Shape::variable, 1, 0x81, 0x81, 2, is_v16, 0x81},
    {0x84, Shape::variable, 1, 0x81, 0x84, 2, is_v16, 0x81},
    {0x82, Shape::variable, 1, 0x82, 0x82, 4, is_v32, 0x82},
    {0x85, Shape::variable, 1, 0x82, 0x85, 4, is_v32, 0x82},
    {0x86, Shape::pointer, 1, 0x98, 0x86, 3, is_pointer, 0x98},
    {0x89, Shape::pointer, 1, 0x98, 0x89, 3, is_pointer, 0x98},
    {0x87, Shape::pointer, 2, 0x98, 0x87, 3, is_pointer, 0x98},
    {0x8A, Shape::pointer, 2, 0x98, 0x8A, 3, is_pointer, 0x98},
    {0x88, Shape::pointer, 4, 0x98, 0x88, 3, is_pointer, 0x98},
    {0x8B, Shape::pointer, 4, 0x98, 0x8B, 3, is_pointer, 0x98},
};

// Prefix rows: the temporary that takes the stepped object's value, if any, becomes the token.
struct PrefixRow {
  int kind;
  Shape shape;
  int step;
  int temporary_kind;
  int temporary_bytes;
};

constexpr PrefixRow PREFIX_ROWS[] = {
    {0x92, Shape::char_in_ram, 1, 0, 0},    {0x95, Shape::char_in_ram, 1, 0, 0},
    {0x93, Shape::via_pointer, 1, 0x81, 2}, {0x96, Shape::via_pointer, 1, 0x84, 2},
    {0x94, Shape::via_pointer, 1, 0x82, 4}, {0x97, Shape::via_pointer, 1, 0x85, 4},
    {0x80, Shape::char_in_ram, 1, 0, 0},    {0x83, Shape::char_in_ram, 1, 0, 0},
    {0x81, Shape::variable, 1, 0, 0},       {0x84, Shape::variable, 1, 0, 0},
    {0x82, Shape::variable, 1, 0, 0},       {0x85, Shape::variable, 1, 0, 0},
    {0x86, Shape::pointer, 1, 0, 0},        {0x89, Shape::pointer, 1, 0, 0},
    {0x87, Shape::pointer, 2, 0, 0},        {0x8A, Shape::pointer, 2, 0, 0},
    {0x88, Shape::pointer, 4, 0, 0},        {0x8B, Shape::pointer, 4, 0, 0},
    {0xFF, Shape::register_a, 1, 0, 0},
};

template <class Row>
const Row* row_of(std::span<const Row> rows, int kind) {
  for (const Row& row : rows)
    if (row.kind == kind) return &row;
  return nullptr;
}

StatusText generate(OperandDescriptor d, OperandDescriptor l, std::string_view op, OperandDescriptor r) {
  Text text(op);  // the generator may rewrite its operator text
  return generate_binary_operation_code(d, l, text, r);
}

// A pointer is stepped as the 24-bit address it holds.
OperandDescriptor value_of(Shape shape, OperandDescriptor d) {
  return shape == Shape::pointer ? make_operand(OPERAND_KIND_ADDRESS, d) : d;
}

// The object of D (or `_A`) stepped by `step` in place; `holder` carries an object reached
// through a pointer between its load and its store.
StatusText step_object(Shape shape, OperandDescriptor d, std::string_view sign, int step, OperandDescriptor holder) {
  const bool up = sign == "+";
  switch (shape) {
    case Shape::char_in_ram: {
      const StatusText status = generate(0, REGISTER_A, "=", d);
      if (status == STATUS_DONE) up ? emit_ram_add_a_1() : emit_ram_sub_a_1();
      return status;
    }
    case Shape::via_pointer: {
      StatusText status = generate(0, holder, "=", d);
      if (status == STATUS_DONE) status = generate(holder, holder, sign, make_operand(OPERAND_KIND_IMMEDIATE, 1));
      if (status == STATUS_DONE) status = generate(0, d, "=", holder);
      return status;
    }
    case Shape::variable:
    case Shape::pointer: {
      const OperandDescriptor v = value_of(shape, d);
      return generate(v, v, sign, make_operand(OPERAND_KIND_IMMEDIATE, step));
    }
    case Shape::register_a:
      up ? emit_a_add_a_1() : emit_a_sub_a_1();
      return Text(STATUS_DONE);
  }
  return Text(STATUS_DONE);
}

// The postfix calls: the old value ends in `holder` (for a char, in A).
StatusText step_keeping_old_value(const PostfixRow& row, OperandDescriptor d, std::string_view sign,
                                  OperandDescriptor holder) {
  StatusText status = Text(STATUS_DONE);
  if (row.shape == Shape::variable || row.shape == Shape::pointer) status = generate(0, holder, "=", value_of(row.shape, d));
  if (status == STATUS_DONE) status = step_object(row.shape, d, sign, row.step, holder);
  if (status == STATUS_DONE && row.shape == Shape::via_pointer)
    status = generate(holder, holder, sign == "+" ? "-" : "+", make_operand(OPERAND_KIND_IMMEDIATE, 1));
  return status;
}

// y = x++ ending the level text: y takes the old value itself and no temporary is used.
bool takes_direct_form(const OperandLoop& loop, const PostfixRow& row) {
  return loop.last_operand && loop.operand_count >= 1 && loop.operator_count == 1 && loop.last_operator == "=" &&
         row.destination != nullptr && row.destination(get_operand_kind(loop.previous_operand));
}

void assign_directly(OperandLoop& loop, const PostfixRow& row, std::string_view sign) {
  const OperandDescriptor y = make_operand(row.destination_kind, loop.previous_operand);
  const StatusText status = step_keeping_old_value(row, loop.operand(), sign, y);
  if (status != STATUS_DONE) {
    loop.status = status;
    return;
  }
  // The text ends with y's token, the value of the whole assignment.
  for (std::size_t i = loop.restart_pos; i < loop.text.size(); ++i) loop.text[i] = ' ';
  loop.status = Text(STATUS_DONE);
}

void keep_old_value(OperandLoop& loop, const PostfixRow& row, std::string_view sign) {
  const OperandDescriptor d = loop.operand();
  const std::int32_t t = g_temp_ram_next & 0xFFFFFF;
  const StatusText status = step_keeping_old_value(row, d, sign, make_operand(row.temporary_kind, t));
  if (status != STATUS_DONE) {
    loop.status = status;
    return;
  }
  if (row.shape != Shape::char_in_ram) {
    loop.set_operand(make_operand(row.token_kind, t));
    g_temp_ram_next += row.temporary_bytes;
    return;
  }
  // The old char stays in A until something else needs A.
  loop.set_operand(make_operand(row.token_kind, d));
  g_register_a_token_place = Text(TOKEN_IN_SUBEXPRESSION);
  g_register_a_token_pos = static_cast<std::int32_t>(loop.pos);
  g_register_a_state = Text(row.token_kind == OPERAND_KIND_A_UNSIGNED ? REG_A_UNSIGNED : REG_A_SIGNED);
}

}  // namespace

void apply_postfix_step(OperandLoop& loop, std::size_t at) {
  const PostfixRow* row = row_of<PostfixRow>(POSTFIX_ROWS, get_operand_kind(loop.operand()));
  if (row == nullptr) {
    loop.status = Text(STATUS_POSTFIX_STEP_ERROR);
    return;
  }
  if (!spilled(loop)) return;
  loop.value_flag = true;
  const std::string_view sign = loop.text[at] == '+' ? "+" : "-";
  loop.text[at] = loop.text[at + 1] = ' ';
  loop.last_operand = loop.text.find_first_not_of(' ', at + 2) == ByteArray::npos;
  if (takes_direct_form(loop, *row)) assign_directly(loop, *row, sign);
  else keep_old_value(loop, *row, sign);
}

void apply_prefix_step(OperandLoop& loop) {
  if (loop.value_flag) {
    loop.status = Text(STATUS_PREFIX_STEP_STATE_ERROR);
    return;
  }
  const OperandDescriptor d = loop.operand();
  const PrefixRow* row = row_of<PrefixRow>(PREFIX_ROWS, get_operand_kind(d));
  if (row == nullptr) {
    loop.status = Text(STATUS_PREFIX_STEP_ERROR);
    return;
  }
  if (!spilled(loop)) return;
  loop.value_flag = true;
  const std::string_view sign = loop.last_operator.substr(0, 1);
  loop.blank_last_operator();
  const OperandDescriptor t = make_operand(row->temporary_kind, g_temp_ram_next);
  const StatusText status = step_object(row->shape, d, sign, row->step, t);
  if (status != STATUS_DONE) {
    loop.status = status;
  } else if (row->temporary_bytes != 0) {
    // The stepped value is read from the temporary from now on.
    loop.set_operand(t);
    g_temp_ram_next += row->temporary_bytes;
  }
  restart(loop);
}

}  // namespace tarvik::operand
