#include "platform/data_steps.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

struct Step {
  DataPhase phase;
  std::string name;
  int rank;
  std::function<void()> run;
};

std::mutex g_lock;
std::vector<Step> g_steps;  // in registration order

}  // namespace

void RegisterDataStep(DataPhase phase, std::string name, int rank, std::function<void()> step) {
  std::lock_guard<std::mutex> guard(g_lock);
  std::erase_if(g_steps, [&](const Step& s) { return s.phase == phase && s.name == name; });
  if (step) g_steps.push_back(Step{phase, std::move(name), rank, std::move(step)});
}

void RunDataSteps(DataPhase phase) {
  std::vector<Step> steps;
  {
    std::lock_guard<std::mutex> guard(g_lock);
    for (const Step& s : g_steps) {
      if (s.phase == phase) steps.push_back(s);
    }
  }
  std::stable_sort(steps.begin(), steps.end(), [](const Step& a, const Step& b) { return a.rank < b.rank; });
  for (const Step& s : steps) s.run();
}

void ClearDataSteps() {
  std::lock_guard<std::mutex> guard(g_lock);
  g_steps.clear();
}
