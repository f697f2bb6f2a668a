#pragma once
// An expression compiled once and evaluated many times, as plotting and the
// DATA transform do: the same results as EvaluateExpression on the same text,
// base and variable table, bit for bit, with the same draws from the random
// generator, without reading the text again for each value.
#include "expr/operations.h"

#include <cstdint>
#include <string>
#include <vector>

// One step of a compiled program: run(step, registers) sets
// registers[result] from the registers a, b and c as its kind says.
struct ProgramStep {
    enum class Kind : uint8_t {
        Binary,   // result = op(a, b)
        Unary,    // result = op(a)
        Select,   // result = a true ? b : c
        Random,   // result = rand(a, b, c, target, count) with target and count
        Operands, // in the step that follows: a is target, b is count
    };
    void (*run)(const ProgramStep& step, double* registers);
    int32_t result, a, b, c;
    // The same over count lanes of registers, each register kLanes doubles
    // long; null for the steps that draw random numbers.
    void (*runLanes)(const ProgramStep& step, double* lanes, int count) = nullptr;
};

// The registers hold the constants (set when compiling), the variables the
// text reads (copied in on each evaluation) and the result of every step.
struct ExpressionProgram {
    struct Load {
        int32_t slot;      // entry of the variable table
        int32_t register_; // where its value goes
        int32_t reads;     // how many times the text reads it as a value
    };
    std::vector<ProgramStep> steps;
    std::vector<double> registers;
    std::vector<Load> loads;
    int32_t result = 0;
};

class CompiledExpression {
  public:
    // Compiles text as EvaluateExpression reads it in base with a variable
    // table of variableCount entries (withTable), or with no table. Returns
    // false when the text holds what the program does not reproduce (string
    // literals); Evaluate then reads the text itself, so that its results are
    // the same in any case.
    bool Compile(const char* text, bool withTable, int variableCount, int base);

    // The value of the text for variables: a table of variableCount entries,
    // or null when compiled without a table.
    double Evaluate(const double* variables);

    // How many times the compiled text reads entry slot of the table as a
    // value (a name taken for a bracket or a separator is not read).
    int VariableReads(int slot) const;

    // The values of the text for count tables: table as it is, then with step
    // added to its entry xSlot for each next value, exactly what Evaluate
    // gives one value at a time; the entry is left at the x after the last.
    // Runs each step of the program over many values at once, which is much
    // faster. False, with nothing done, for a text that draws random numbers
    // (their order would change) or that Evaluate would read itself; the
    // caller then evaluates one value at a time.
    bool EvaluateAlongX(double* table, int xSlot, double step, double* values, int count);

    // How many values EvaluateAlongX works out at once.
    static constexpr int kLanes = 64;

  private:
    double EvaluateText(const double* variables) const;

    std::string text_;
    bool nullText_ = true;
    bool withTable_ = false;
    int variableCount_ = 0;
    int base_ = 10;
    bool compiled_ = false;
    ExpressionProgram program_;
    std::vector<double> lanes_; // kLanes values of every register
};
