// Test support: one TOML scalar as "KIND:TEXT", strings decoded, integers in
// decimal, floats and date-times as written, for comparing read documents.
#pragma once

#include <string>
#include <string_view>

#include "config/toml.h"

namespace tarn::testing {

inline std::string toml_scalar(const toml::Document& doc, std::string_view text, toml::NodeId node) {
  const auto written = [&](const char* kind) {
    return kind + std::string(text.substr(doc.begin(node), doc.end(node) - doc.begin(node)));
  };
  switch (doc.kind(node)) {
    case toml::Kind::String:
      return "str:" + std::string(doc.string(node));
    case toml::Kind::Integer:
      return "int:" + std::to_string(doc.integer(node));
    case toml::Kind::Boolean:
      return doc.boolean(node) ? "bool:true" : "bool:false";
    case toml::Kind::Float:
      return written("float:");
    case toml::Kind::OffsetDateTime:
      return written("odt:");
    case toml::Kind::LocalDateTime:
      return written("ldt:");
    case toml::Kind::LocalDate:
      return written("date:");
    case toml::Kind::LocalTime:
      return written("time:");
    case toml::Kind::Table:
    case toml::Kind::Array:
      break;
  }
  return "not a scalar:";
}

}  // namespace tarn::testing
