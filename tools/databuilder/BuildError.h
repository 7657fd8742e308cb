#pragma once
// What the builder throws when a source is wrong or a file cannot be
// written: the message names the source and what is wrong with it, and the
// builder stops without leaving a half-written data file behind.

#include <stdexcept>
#include <string>

namespace databuilder {

class BuildError : public std::runtime_error {
 public:
  explicit BuildError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace databuilder
