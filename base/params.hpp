// Parameter values held by an environment and copied into each model.
//
// The registry of all parameters (identifiers, names, types, scopes,
// defaults, ranges) lives in base/param_table.hpp; this header gives the
// value storage and the typed accessors that solvers, callbacks and file
// readers use without knowing the layout.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace torva {

// The value groups. A parameter's group follows from its identifier block.
enum class ParamGroup : std::uint8_t {
  General,   // general, LP solver, interior point, simplex internals, LU (990-1054,
             // 1251-1264, 1590, 3150-3169, 4060-4907)
  Mip,       // mixed-integer solver and block decomposition (5300-5417, 8010-8023)
  Nlp,       // nonlinear solver and multistart (2500-2551)
  Gop,       // global solver (6400-6441)
  Analysis,  // the paired infeasibility/unboundedness analysis settings (1550-1564)
  Stoc,      // stochastic programming, with the two name formats (6600-6649)
  Sampling,  // the sampling-parameter structure (7701-7709)
  Ga,        // descriptor-driven genetic-algorithm records (8501-8527)
};
inline constexpr int kFixedGroupCount = 7;  // every group but Ga

// Plain storage of one group: its int and double fields in registry order.
template <int NInt, int NDou>
struct ParamGroupValues {
  std::array<int, NInt> ints{};
  std::array<double, NDou> dous{};
};

// Field counts per group; checked against the registry at compile time.
inline constexpr int kGroupIntCount[kFixedGroupCount] = {67, 79, 42, 26, 14, 35, 6};
inline constexpr int kGroupDouCount[kFixedGroupCount] = {46, 43, 10, 16, 1, 12, 3};
inline constexpr int kGaParamCount = 27;
inline constexpr int kStringParamMaxLength = 255;  // longest stored name format

// Identifiers of parameters the library itself treats specially.
inline constexpr int kParamObjSense = 1022;
inline constexpr int kParamSolverFeasTol = 1254;
inline constexpr int kParamMipCutoffObj = 5322;
inline constexpr int kParamStocFmtNodeName = 6630;
inline constexpr int kParamStocFmtScenarioName = 6631;

// All parameter values of one level (environment or model), with value
// semantics: a model copies its environment's set when it is created and
// never sees later changes made on the environment.
struct ParamSet {
  ParamSet();  // every value at its default

  template <int G>
  using Group = ParamGroupValues<kGroupIntCount[G], kGroupDouCount[G]>;

  Group<0> general;
  Group<1> mip;
  Group<2> nlp;
  Group<3> gop;
  Group<4> analysis;
  Group<5> stoc;
  Group<6> sampling;
  std::string stocNodeNameFormat;      // QX_SPARAM_STOC_FMT_NODE_NAME
  std::string stocScenarioNameFormat;  // QX_SPARAM_STOC_FMT_SCENARIO_NAME
  bool mipCutoffGiven = false;         // QX_DPARAM_MIP_CUTOFFOBJ was set explicitly

  // Current values of the descriptor-driven records, stored as doubles.
  std::array<double, kGaParamCount> ga{};

  // Typed reads for identifiers that exist (the header's QX_IPARAM_/
  // QX_DPARAM_ macros). intValue of a double parameter truncates toward zero;
  // douValue of an int parameter converts. Unknown identifiers read 0.
  // Genetic-algorithm int values are truncated from their stored double.
  // The objective sense of a model lives in its data, not here.
  int intValue(int id) const noexcept;
  double douValue(int id) const noexcept;
  // String parameters (6630, 6631); empty for other identifiers.
  const std::string& strValue(int id) const noexcept;

  // Unchecked writes for the library's own use (solvers saving and
  // restoring settings around a retry). No validation, no side effects;
  // unknown identifiers are ignored. Hosts go through setParam* below.
  void storeInt(int id, int value) noexcept;
  void storeDou(int id, double value) noexcept;

  // Copies of parts of a set (QXcopyParam).
  void copyFixedFrom(const ParamSet& other);
  void copyGaFrom(const ParamSet& other) { ga = other.ga; }

 private:
  int* intSlot(int id) noexcept;
  double* douSlot(int id) noexcept;
  const int* intSlot(int id) const noexcept;
  const double* douSlot(int id) const noexcept;
};

}  // namespace torva
