#include "expr/compiled_expression.h"

#include "expr/evaluate.h"
#include "expr/expression_compiler.h"
#include "expr/parser.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

// Letters name table entries up to z9: (letter - A) + 26 digit.
constexpr int kVariableNames = 26 * 10;

// The table the tokenizer reads while compiling; only which entry a name
// reads matters then, not its value.
const double kCompileTable[kVariableNames] = {};

// What each kind of step does; a step calls its own, so that running a
// program is one call per step, each to a function that does one thing.
template <Operation op>
void RunBinary(const ProgramStep& s, double* r) {
    r[s.result] = ApplyBinary(op, r[s.a], r[s.b]);
}
template <Operation op>
void RunUnary(const ProgramStep& s, double* r) {
    r[s.result] = ApplyUnary(op, r[s.a]);
}
void RunSelect(const ProgramStep& s, double* r) {
    r[s.result] = IsTrue(r[s.a]) ? r[s.b] : r[s.c];
}
void RunRandom(const ProgramStep& s, double* r) {
    const ProgramStep& more = (&s)[1];
    r[s.result] = Evaluator::Random(r[s.a], r[s.b], r[s.c], r[more.a], r[more.b]);
}
void RunNothing(const ProgramStep&, double*) {}

// The same over count lanes: register i is lanes[i * kLanes] onwards.
constexpr int kLanes = CompiledExpression::kLanes;
template <Operation op>
void RunBinaryLanes(const ProgramStep& s, double* lanes, int count) {
    double* result = lanes + s.result * kLanes;
    const double* a = lanes + s.a * kLanes;
    const double* b = lanes + s.b * kLanes;
    for (int k = 0; k < count; ++k) result[k] = ApplyBinary(op, a[k], b[k]);
}
template <Operation op>
void RunUnaryLanes(const ProgramStep& s, double* lanes, int count) {
    double* result = lanes + s.result * kLanes;
    const double* a = lanes + s.a * kLanes;
    for (int k = 0; k < count; ++k) result[k] = ApplyUnary(op, a[k]);
}
void RunSelectLanes(const ProgramStep& s, double* lanes, int count) {
    double* result = lanes + s.result * kLanes;
    const double* a = lanes + s.a * kLanes;
    const double* b = lanes + s.b * kLanes;
    const double* c = lanes + s.c * kLanes;
    for (int k = 0; k < count; ++k) result[k] = IsTrue(a[k]) ? b[k] : c[k];
}
using LanesRun = void (*)(const ProgramStep&, double*, int);

using StepRun = void (*)(const ProgramStep&, double*);

constexpr int kOperationCount = static_cast<int>(Operation::Fact) + 1;

template <size_t... i>
constexpr auto MakeOperationRuns(std::index_sequence<i...>) {
    return std::array<StepRun, sizeof...(i)>{
        {(IsUnary(static_cast<Operation>(i)) ? RunUnary<static_cast<Operation>(i)>
                                             : RunBinary<static_cast<Operation>(i)>)...}};
}
constexpr auto kOperationRuns = MakeOperationRuns(std::make_index_sequence<kOperationCount>());

template <size_t... i>
constexpr auto MakeOperationLanesRuns(std::index_sequence<i...>) {
    return std::array<LanesRun, sizeof...(i)>{
        {(IsUnary(static_cast<Operation>(i)) ? RunUnaryLanes<static_cast<Operation>(i)>
                                             : RunBinaryLanes<static_cast<Operation>(i)>)...}};
}
constexpr auto kOperationLanesRuns =
    MakeOperationLanesRuns(std::make_index_sequence<kOperationCount>());

LanesRun LanesRunOf(ProgramStep::Kind kind, Operation op) {
    switch (kind) {
    case ProgramStep::Kind::Binary:
    case ProgramStep::Kind::Unary: return kOperationLanesRuns[static_cast<size_t>(op)];
    case ProgramStep::Kind::Select: return RunSelectLanes;
    default: return nullptr; // random draws happen in the order of the values
    }
}

StepRun RunOf(ProgramStep::Kind kind, Operation op) {
    switch (kind) {
    case ProgramStep::Kind::Binary:
    case ProgramStep::Kind::Unary: return kOperationRuns[static_cast<size_t>(op)];
    case ProgramStep::Kind::Select: return RunSelect;
    case ProgramStep::Kind::Random: return RunRandom;
    default: return RunNothing;
    }
}

} // namespace

ExpressionCompiler::Value ExpressionCompiler::NewRegister(double value, bool known) {
    program_.registers.push_back(value);
    known_.push_back(known);
    return static_cast<Value>(program_.registers.size() - 1);
}

ExpressionCompiler::Value ExpressionCompiler::Number() {
    const int32_t slot = ctx.variableIndex;
    if (slot < 0) return Constant(ctx.tokenValue);
    if (variableRegister_.empty()) variableRegister_.assign(kVariableNames, -1);
    if (variableRegister_[slot] < 0) {
        variableRegister_[slot] = NewRegister(0, false);
        program_.loads.push_back({slot, variableRegister_[slot], 0});
    }
    for (ExpressionProgram::Load& load : program_.loads)
        if (load.slot == slot) ++load.reads;
    return variableRegister_[slot];
}

ExpressionCompiler::Value ExpressionCompiler::Literal() {
    exact_ = false;
    return Constant(ctx.tokenValue);
}

ExpressionCompiler::Value ExpressionCompiler::CompareTexts(int32_t, Value, Value) {
    exact_ = false;
    return Constant(ErrorValue);
}

ExpressionCompiler::Value ExpressionCompiler::Constant(double value) {
    return NewRegister(value, true);
}

ExpressionCompiler::Value ExpressionCompiler::AddStep(ProgramStep::Kind kind, Operation op, Value a,
                                                      Value b, Value c) {
    const Value result = NewRegister(0, false);
    program_.steps.push_back({RunOf(kind, op), result, a, b, c, LanesRunOf(kind, op)});
    return result;
}

ExpressionCompiler::Value ExpressionCompiler::Apply(Operation op, Value a, Value b) {
    const std::vector<double>& r = program_.registers;
    if (known_[a] && known_[b]) return Constant(ApplyBinary(op, r[a], r[b]));
    // PortablePow hands such exponents to PortableWholePow; calling it
    // directly spares the tests on the exponent.
    if (op == Operation::Power && known_[b] && IsWholePowerExponent(r[b]))
        op = Operation::WholePower;
    return AddStep(ProgramStep::Kind::Binary, op, a, b, 0);
}

ExpressionCompiler::Value ExpressionCompiler::Apply(Operation op, Value x) {
    if (known_[x]) return Constant(ApplyUnary(op, program_.registers[x]));
    return AddStep(ProgramStep::Kind::Unary, op, x, 0, 0);
}

ExpressionCompiler::Value ExpressionCompiler::Select(Value c, Value t, Value e) {
    // Both branches are computed in any case; a known condition only picks one.
    if (known_[c]) return IsTrue(program_.registers[c]) ? t : e;
    return AddStep(ProgramStep::Kind::Select, Operation::Add, c, t, e);
}

ExpressionCompiler::Value ExpressionCompiler::Random(Value low, Value high, Value step,
                                                     Value target, Value count) {
    // Never folded: every evaluation draws afresh.
    const Value result = AddStep(ProgramStep::Kind::Random, Operation::Add, low, high, step);
    program_.steps.push_back(
        {RunOf(ProgramStep::Kind::Operands, Operation::Add), 0, target, count, 0});
    return result;
}

bool CompiledExpression::Compile(const char* text, bool withTable, int variableCount, int base) {
    nullText_ = text == nullptr;
    text_ = text ? text : "";
    withTable_ = withTable;
    variableCount_ = withTable ? variableCount : 0;
    base_ = base;
    program_ = ExpressionProgram();
    ExpressionCompiler compiler(program_);
    if (nullText_) {
        program_.result = compiler.Constant(ErrorValue);
        return compiled_ = true;
    }
    EvalContext& ctx = compiler.ctx;
    ctx.text = text_.c_str();
    ctx.position = ctx.text;
    ctx.variables = withTable ? kCompileTable : nullptr;
    ctx.variableCount = variableCount_;
    ctx.base = base;
    NextToken(ctx);
    program_.result = ParseCondition(compiler);
    // Past the nesting limit the steps up to there still run, for the draws
    // they make, and the result is ErrorValue.
    if (ctx.tooDeep) program_.result = compiler.Constant(ErrorValue);
    return compiled_ = compiler.Exact();
}

int CompiledExpression::VariableReads(int slot) const {
    for (const ExpressionProgram::Load& load : program_.loads)
        if (load.slot == slot) return load.reads;
    return 0;
}

bool CompiledExpression::EvaluateAlongX(double* table, int xSlot, double step, double* values,
                                        int count) {
    if (!compiled_ || !withTable_ || xSlot < 0 || xSlot >= variableCount_) return false;
    for (const ProgramStep& s : program_.steps)
        if (!s.runLanes) return false;
    // Every lane of a register starts as the register stands: constants, and
    // the entries other than x, which stay the same for every value.
    const std::vector<double>& registers = program_.registers;
    lanes_.resize(registers.size() * kLanes);
    for (size_t i = 0; i < registers.size(); ++i)
        std::fill_n(&lanes_[i * kLanes], kLanes, registers[i]);
    double* xs = nullptr;
    for (const ExpressionProgram::Load& load : program_.loads) {
        if (load.slot == xSlot) {
            xs = &lanes_[static_cast<size_t>(load.register_) * kLanes];
            continue;
        }
        const double value = table[load.slot];
        if (MayBecomeLiteralHandle(value)) return false;
        std::fill_n(&lanes_[static_cast<size_t>(load.register_) * kLanes], kLanes, value);
    }
    const double* result = &lanes_[static_cast<size_t>(program_.result) * kLanes];
    double x = table[xSlot];
    for (int done = 0; done < count;) {
        const int n = count - done < kLanes ? count - done : kLanes;
        const double first = x;
        bool handle = false;
        for (int k = 0; k < n; ++k, x += step) {
            if (!xs) continue;
            xs[k] = x;
            handle = handle || MayBecomeLiteralHandle(x);
        }
        if (handle) {
            // An x that Evaluate would hand to the text: these values one by one.
            table[xSlot] = first;
            for (int k = 0; k < n; ++k, table[xSlot] += step) values[done + k] = Evaluate(table);
        } else {
            for (const ProgramStep& s : program_.steps) s.runLanes(s, lanes_.data(), n);
            for (int k = 0; k < n; ++k)
                values[done + k] = IsLiteralHandle(result[k]) ? ErrorValue : result[k];
        }
        done += n;
    }
    table[xSlot] = x;
    return true;
}

double CompiledExpression::EvaluateText(const double* variables) const {
    return EvaluateExpression(nullText_ ? nullptr : text_.c_str(), variables, variableCount_,
                              base_);
}

double CompiledExpression::Evaluate(const double* variables) {
    if (!compiled_) return EvaluateText(variables);
    double* r = program_.registers.data();
    for (const ExpressionProgram::Load& load : program_.loads) {
        const double value = variables[load.slot];
        if (MayBecomeLiteralHandle(value)) return EvaluateText(variables);
        r[load.register_] = value;
    }
    for (const ProgramStep& step : program_.steps) step.run(step, r);
    const double value = r[program_.result];
    // A literal's handle means nothing outside the expression.
    return IsLiteralHandle(value) ? ErrorValue : value;
}
