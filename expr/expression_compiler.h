#pragma once
// The back end of the grammar (parser.h) that writes a program instead of
// computing: each value is a register, each operation a step. Parts whose
// operands are all known fold into constants, with the same functions the
// program would call, so folding never changes a bit.
#include "expr/compiled_expression.h"
#include "expr/tokenizer.h"

class ExpressionCompiler {
  public:
    using Value = int32_t; // a register of the program

    explicit ExpressionCompiler(ExpressionProgram& program) : program_(program) {}

    EvalContext ctx{};

    Value Number();
    Value Literal();
    Value Constant(double value);
    Value Apply(Operation op, Value a, Value b);
    Value Apply(Operation op, Value x);
    Value Select(Value c, Value t, Value e);
    Value Random(Value low, Value high, Value step, Value target, Value count);
    static bool IsLiteral(Value) { return false; } // literals are not compiled
    Value CompareTexts(int32_t op, Value a, Value b);

    // False once the text held a string literal.
    bool Exact() const { return exact_; }

  private:
    Value NewRegister(double value, bool known);
    Value AddStep(ProgramStep::Kind kind, Operation op, Value a, Value b, Value c);

    ExpressionProgram& program_;
    std::vector<bool> known_; // registers whose value is known when compiling
    std::vector<int32_t> variableRegister_;
    bool exact_ = true;
};
