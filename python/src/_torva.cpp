// Python binding of the C interface: a thin layer that keeps its semantics.
// Every call returns the library's error code to the Python side, which
// raises TorvaError; arrays cross without copies where their layout allows.
#include <pybind11/functional.h>
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <torva.h>

#include <array>
#include <exception>
#include <stdexcept>
#include <string>

namespace py = pybind11;

namespace {

// Message buffers: the header fixes 140 bytes for error texts; parameter and
// information texts need at most 1024.
constexpr int kMessageBytes = 1024;

using DoubleArray = py::array_t<double, py::array::c_style | py::array::forcecast>;
using IntArray = py::array_t<int, py::array::c_style | py::array::forcecast>;

class Env {
 public:
  Env() {
    int code = 0;
    env_ = QXcreateEnv(&code);
    if (!env_) throw std::runtime_error("environment not created, error " + std::to_string(code));
  }
  // Models keep their environment alive: the library's environment goes
  // when the last of its Python models does, however the two are closed.
  ~Env() {
    if (env_) QXdeleteEnv(&env_);
  }
  Env(const Env&) = delete;
  Env& operator=(const Env&) = delete;

  void close() { closed_ = true; }
  bool closed() const { return closed_; }
  QXenv handle() const {
    if (closed_) throw std::runtime_error("the environment is closed");
    return env_;
  }

  std::string errorMessage(int code) const {
    std::array<char, kMessageBytes> text{};
    QXgetErrorMessage(env_, code, text.data());
    return text.data();
  }
  // (code, id, value size) of a parameter or information-item macro name.
  py::tuple macroId(const std::string& name) const {
    int type = 0, id = 0;
    int code = QXgetParamMacroID(env_, name.c_str(), &type, &id);
    return py::make_tuple(code, id, type);
  }

 private:
  QXenv env_ = nullptr;
  bool closed_ = false;
};

class Model {
 public:
  explicit Model(std::shared_ptr<Env> env) : env_(std::move(env)) {
    int code = 0;
    model_ = QXcreateModel(env_->handle(), &code);
    if (!model_) throw std::runtime_error("model not created, error " + std::to_string(code));
  }
  ~Model() { close(); }
  Model(const Model&) = delete;
  Model& operator=(const Model&) = delete;

  void close() {
    if (model_) QXdeleteModel(&model_);
    model_ = nullptr;
    log_ = py::none();
    progress_ = py::none();
  }
  bool closed() const { return model_ == nullptr; }

  // The matrix comes column-major; the library copies it into its store, so
  // the arrays need to live only for the call.
  int loadLp(int sense, double objConst, DoubleArray c, DoubleArray b, const std::string& types,
             IntArray starts, IntArray rows, DoubleArray values, DoubleArray lower,
             DoubleArray upper) {
    const int n = static_cast<int>(c.size());
    const int m = static_cast<int>(b.size());
    if (starts.size() != n + 1 || static_cast<int>(types.size()) != m || lower.size() != n ||
        upper.size() != n || rows.size() != values.size())
      throw std::invalid_argument("array sizes do not agree");
    const int nnz = static_cast<int>(values.size());
    py::gil_scoped_release unlocked;
    return QXloadLPData(handle(), m, n, sense, objConst, c.data(), b.data(), types.c_str(), nnz,
                        starts.data(), nullptr, values.data(), rows.data(), lower.data(),
                        upper.data());
  }
  int loadVarType(const std::string& types) { return QXloadVarType(handle(), types.c_str()); }

  py::tuple getInt(int id) const {
    int value = 0;
    int code = QXgetModelIntParameter(handle(), id, &value);
    return py::make_tuple(code, value);
  }
  py::tuple getDouble(int id) const {
    double value = 0;
    int code = QXgetModelDouParameter(handle(), id, &value);
    return py::make_tuple(code, value);
  }
  py::tuple getString(int id) const {
    std::array<char, kMessageBytes> text{};
    int code = QXgetModelParameter(handle(), id, text.data());
    return py::make_tuple(code, std::string(text.data()));
  }
  int setInt(int id, int value) { return QXsetModelIntParameter(handle(), id, value); }
  int setDouble(int id, double value) { return QXsetModelDouParameter(handle(), id, value); }
  int setString(int id, const std::string& value) {
    std::string copy = value;
    return QXsetModelParameter(handle(), id, copy.data());
  }

  // Information item by value size: 4 an int, 8 a double, else text.
  py::tuple info(int id, int size) const {
    if (size == 4) {
      int value = 0;
      int code = QXgetInfo(handle(), id, &value);
      return py::make_tuple(code, py::int_(value));
    }
    if (size == 8) {
      double value = 0;
      int code = QXgetInfo(handle(), id, &value);
      return py::make_tuple(code, py::float_(value));
    }
    std::array<char, kMessageBytes> text{};
    int code = QXgetInfo(handle(), id, text.data());
    return py::make_tuple(code, py::str(text.data()));
  }

  py::tuple optimize(int method) {
    int status = 0, code = 0;
    {
      py::gil_scoped_release unlocked;
      code = QXoptimize(handle(), method, &status);
    }
    rethrowPending();
    return py::make_tuple(code, status);
  }

  py::tuple solveMip() {
    int status = 0, code = 0;
    {
      py::gil_scoped_release unlocked;
      code = QXsolveMIP(handle(), &status);
    }
    rethrowPending();
    return py::make_tuple(code, status);
  }

  // One solution vector of the library's getters, sized by the model.
  py::tuple vector(const std::string& which) const {
    int m = 0, n = 0;
    QXgetInfo(handle(), QX_IINFO_NUM_CONS, &m);
    QXgetInfo(handle(), QX_IINFO_NUM_VARS, &n);
    const bool rows = which == "dual" || which == "slacks";
    py::array_t<double> out(rows ? m : n);
    double* p = out.mutable_data();
    int code = which == "mip"     ? QXgetMIPPrimalSolution(handle(), p)
               : which == "primal" ? QXgetPrimalSolution(handle(), p)
               : which == "dual"  ? QXgetDualSolution(handle(), p)
               : which == "slacks" ? QXgetSlacks(handle(), p)
                                   : QXgetReducedCosts(handle(), p);
    return py::make_tuple(code, out);
  }

  py::tuple basis() const {
    int m = 0, n = 0;
    QXgetInfo(handle(), QX_IINFO_NUM_CONS, &m);
    QXgetInfo(handle(), QX_IINFO_NUM_VARS, &n);
    py::array_t<int> cols(n), rows(m);
    int code = QXgetBasis(handle(), cols.mutable_data(), rows.mutable_data());
    return py::make_tuple(code, cols, rows);
  }
  int loadBasis(IntArray cols, IntArray rows) {
    return QXloadBasis(handle(), cols.data(), rows.data());
  }

  int read(const std::string& kind, const std::string& file) {
    py::gil_scoped_release unlocked;
    const char* f = file.c_str();
    if (kind == "mps") return QXreadMPSFile(handle(), f, 0);
    if (kind == "mps_fixed") return QXreadMPSFile(handle(), f, 1);
    if (kind == "lp") return QXreadLPFile(handle(), f);
    if (kind == "ltx") return QXreadTORVAFile(handle(), f);
    if (kind == "mpi") return QXreadMPIFile(handle(), f);
    throw std::invalid_argument("unknown model file kind: " + kind);
  }
  int write(const std::string& kind, const std::string& file) {
    py::gil_scoped_release unlocked;
    const char* f = file.c_str();
    if (kind == "mps") return QXwriteMPSFile(handle(), f, 0);
    if (kind == "mps_fixed") return QXwriteMPSFile(handle(), f, 1);
    if (kind == "ltx") return QXwriteTORVAFile(handle(), f);
    if (kind == "mpi") return QXwriteMPIFile(handle(), f);
    if (kind == "solma") return QXwriteSOLMAFile(handle(), f);
    if (kind == "solution") return QXwriteSolution(handle(), f);
    throw std::invalid_argument("unknown model file kind: " + kind);
  }

  // Log lines go to a Python callable; an exception it raises is kept and
  // raised again when the library call returns.
  int setLog(py::object fn) {
    log_ = std::move(fn);
    return QXsetModelLogfunc(handle(), log_.is_none() ? nullptr : &Model::logTrampoline, this);
  }
  // The progress callable gets the location code; a true result stops the
  // solver, which then returns the interrupt code.
  int setProgress(py::object fn) {
    progress_ = std::move(fn);
    return QXsetCallback(handle(), progress_.is_none() ? nullptr : &Model::progressTrampoline,
                         this);
  }
  py::tuple progressInfo(int location, int id, int size) const {
    if (size == 4) {
      int value = 0;
      int code = QXgetCallbackInfo(model_, location, id, &value);
      return py::make_tuple(code, py::int_(value));
    }
    double value = 0;
    int code = QXgetCallbackInfo(model_, location, id, &value);
    return py::make_tuple(code, py::float_(value));
  }

 private:
  QXmodel handle() const {
    if (!model_) throw std::runtime_error("the model is closed");
    return model_;
  }
  void rethrowPending() {
    if (pending_) {
      std::exception_ptr e = pending_;
      pending_ = nullptr;
      std::rethrow_exception(e);
    }
  }
  static void logTrampoline(QXmodel, const char* text, void* self) {
    auto* model = static_cast<Model*>(self);
    py::gil_scoped_acquire locked;
    if (model->pending_ || model->log_.is_none()) return;
    try {
      model->log_(py::str(text));
    } catch (...) {
      model->pending_ = std::current_exception();
    }
  }
  static int progressTrampoline(QXmodel, int location, void* self) {
    auto* model = static_cast<Model*>(self);
    py::gil_scoped_acquire locked;
    if (model->pending_) return 1;
    if (model->progress_.is_none()) return 0;
    try {
      return py::bool_(model->progress_(location)) ? 1 : 0;
    } catch (...) {
      model->pending_ = std::current_exception();
      return 1;
    }
  }

  std::shared_ptr<Env> env_;
  QXmodel model_ = nullptr;
  py::object log_ = py::none();
  py::object progress_ = py::none();
  std::exception_ptr pending_;
};

}  // namespace

PYBIND11_MODULE(_torva, m) {
  m.doc() = "Low-level binding of the TORVA C library; use the torva package.";
  m.def("version", [] {
    std::array<char, kMessageBytes> version{}, built{};
    QXgetVersionInfo(version.data(), built.data());
    return std::string(version.data());
  });
  py::class_<Env, std::shared_ptr<Env>>(m, "Env")
      .def(py::init<>())
      .def("close", &Env::close)
      .def_property_readonly("closed", &Env::closed)
      .def("error_message", &Env::errorMessage)
      .def("macro_id", &Env::macroId);
  py::class_<Model>(m, "Model")
      .def(py::init<std::shared_ptr<Env>>())
      .def("close", &Model::close)
      .def_property_readonly("closed", &Model::closed)
      .def("load_lp", &Model::loadLp)
      .def("load_var_type", &Model::loadVarType)
      .def("get_int", &Model::getInt)
      .def("get_double", &Model::getDouble)
      .def("get_string", &Model::getString)
      .def("set_int", &Model::setInt)
      .def("set_double", &Model::setDouble)
      .def("set_string", &Model::setString)
      .def("info", &Model::info)
      .def("optimize", &Model::optimize)
      .def("solve_mip", &Model::solveMip)
      .def("vector", &Model::vector)
      .def("basis", &Model::basis)
      .def("load_basis", &Model::loadBasis)
      .def("read", &Model::read)
      .def("write", &Model::write)
      .def("set_log", &Model::setLog)
      .def("set_progress", &Model::setProgress)
      .def("progress_info", &Model::progressInfo);
}
