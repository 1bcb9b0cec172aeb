#pragma once
// A record store that takes its time, so that the caller's event loop runs
// while a load or save waits for it.
#include <chrono>
#include <optional>
#include <string>
#include <thread>

#include "host/db/record_store.h"

namespace quillet::testing_db {

class TSlowStore final : public TRecordStore {
 public:
  explicit TSlowStore(std::string& field) : field_(field) {}
  void Connect() override { connected_ = true; }
  void Disconnect() override { connected_ = false; }
  bool Connected() const override { return connected_; }
  std::optional<std::string> SelectField(const std::string&, int32_t) override {
    Wait();
    return field_;
  }
  void Probe(const std::string&) override {}
  int64_t UpdateOne(const std::string&, const std::string& value, int32_t) override {
    Wait();
    field_ = value;
    return 1;
  }

 private:
  static void Wait() { std::this_thread::sleep_for(std::chrono::milliseconds(150)); }
  std::string& field_;
  bool connected_ = false;
};

}  // namespace quillet::testing_db
