// The filter chain that watches a window's or the loop's messages: order,
// passing on or not, and filters that go while a message is on its way.
// Natively, under the sanitizers: a filter freed during its own call must
// not be touched afterwards.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/filters.h"

namespace kelmar {
namespace {

using Chain = TFilterChain<std::string>;

// A filter that writes its name, passes the message on, and writes it again.
Chain::Handler Around(std::vector<std::string>& log, std::string name) {
  return [&log, name](std::string& m, const Chain::Next& next) {
    log.push_back(name + "<" + m);
    next(m);
    log.push_back(name + ">");
  };
}


TEST(FilterChain, TheNewestFirstEachAroundTheRestAndTheTargetLast) {
  Chain chain;
  std::vector<std::string> log;
  std::string m = "a";
  chain.Run(m, [&](std::string& s) { log.push_back("target:" + s); });
  EXPECT_EQ(log, (std::vector<std::string>{"target:a"}));

  log.clear();
  Chain::Filter older = chain.Add(Around(log, "old"));
  Chain::Filter newer = chain.Add([&log](std::string& m, const Chain::Next& next) {
    log.push_back("new<" + m);
    m += "!";  // what it passes on is what the rest sees
    next(m);
  });
  chain.Run(m, [&](std::string& s) { log.push_back("target:" + s); });
  EXPECT_EQ(log, (std::vector<std::string>{"new<a", "old<a!", "target:a!", "old>"}));
  EXPECT_EQ(m, "a!");
}

TEST(FilterChain, NotPassingOnSwallowsTheMessage) {
  Chain chain;
  std::vector<std::string> log;
  Chain::Filter inner = chain.Add(Around(log, "inner"));
  Chain::Filter swallow = chain.Add([&log](std::string& m, const Chain::Next& next) {
    if (m == "keep") return;
    next(m);
  });
  std::string m = "keep";
  chain.Run(m, [&](std::string&) { log.push_back("target"); });
  EXPECT_TRUE(log.empty());
  m = "pass";
  chain.Run(m, [&](std::string&) { log.push_back("target"); });
  EXPECT_EQ(log, (std::vector<std::string>{"inner<pass", "target", "inner>"}));
}

TEST(FilterChain, AFilterGoesWithItsScopeOrWhenReset) {
  Chain chain;
  std::vector<std::string> log;
  Chain::Filter kept;
  {
    Chain::Filter scoped = chain.Add(Around(log, "scoped"));
    kept = chain.Add(Around(log, "kept"));
    EXPECT_FALSE(chain.Empty());
  }
  std::string m = "x";
  chain.Run(m, [&](std::string&) { log.push_back("target"); });
  EXPECT_EQ(log, (std::vector<std::string>{"kept<x", "target", "kept>"}));
  // Assigning another filter removes the one held before.
  kept = chain.Add(Around(log, "other"));
  log.clear();
  chain.Run(m, [&](std::string&) { log.push_back("target"); });
  EXPECT_EQ(log, (std::vector<std::string>{"other<x", "target", "other>"}));
  kept.Reset();
  EXPECT_FALSE(kept);
  EXPECT_TRUE(chain.Empty());
}

TEST(FilterChain, FiltersRemovedOrAddedOnTheWayAndOneRemovingItself) {
  Chain chain;
  std::vector<std::string> log;
  Chain::Filter later = chain.Add(Around(log, "later"));
  Chain::Filter added;
  auto self = std::make_unique<Chain::Filter>();
  *self = chain.Add([&](std::string& m, const Chain::Next& next) {
    log.push_back("self");
    self.reset();  // frees this very filter while it runs
    later.Reset();
    added = chain.Add(Around(log, "added"));
    next(m);
  });
  std::string m = "1";
  chain.Run(m, [&](std::string&) { log.push_back("target"); });
  // The removed one is passed over, the added one waits for the next message.
  EXPECT_EQ(log, (std::vector<std::string>{"self", "target"}));
  log.clear();
  chain.Run(m, [&](std::string&) { log.push_back("target"); });
  EXPECT_EQ(log, (std::vector<std::string>{"added<1", "target", "added>"}));
}

TEST(FilterChain, AMessageHandledInsideAnotherGoesThroughTheWholeChainToo) {
  Chain chain;
  std::vector<std::string> log;
  Chain::Filter outer = chain.Add(Around(log, "f"));
  std::function<void(std::string&)> target = [&](std::string& m) {
    log.push_back("target:" + m);
    if (m == "outer") {
      std::string inner = "inner";
      chain.Run(inner, target);
    }
  };
  std::string m = "outer";
  chain.Run(m, target);
  EXPECT_EQ(log, (std::vector<std::string>{"f<outer", "target:outer", "f<inner", "target:inner", "f>", "f>"}));
}

TEST(FilterChain, AFilterThatOutlivesItsChainIsHarmless) {
  Chain::Filter late;
  {
    Chain chain;
    late = chain.Add([](std::string& m, const Chain::Next& next) { next(m); });
  }
  EXPECT_TRUE(late);
  late.Reset();
  EXPECT_FALSE(late);
}

}  // namespace
}  // namespace kelmar
