// The logging functions of the model-data operations live in base/log.hpp;
// this header remains so that sources including it keep compiling.
#pragma once

#include "base/log.hpp"
#include "base/model.hpp"
