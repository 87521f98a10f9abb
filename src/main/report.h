// Ordering and printing the run's diagnostics.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "main/output_format.h"
#include "rules/rule.h"

namespace tarn {

// Stable sort by path (component-wise), start line, start column, rule id.
void sort_diagnostics(std::vector<Diagnostic>& diagnostics);

// Prints a report in parts: batches of findings already in report order, then
// the end (the summary line, or the close of the json document). Batches are
// written as they come, so memory does not grow with the report. Every part
// handed to the sink ends at a line end, so that a line of another stream
// written between two parts never lands inside a line of the report.
class ReportPrinter {
 public:
  using Sink = std::function<void(std::string_view)>;
  ReportPrinter(OutputFormat format, bool color, Sink sink);
  void add(const std::vector<Diagnostic>& batch);
  void finish();
  size_t errors() const { return errors_; }

 private:
  OutputFormat format_;
  bool color_;
  Sink sink_;
  size_t total_ = 0;
  size_t errors_ = 0;
  // The text after the last line end written so far; it goes out with the
  // next part.
  std::string open_line_;
};

}  // namespace tarn
