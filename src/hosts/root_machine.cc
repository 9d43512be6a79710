// The machine on Linux: an environment root directory.
#include "hosts/session.h"
#include "platform/kakeidb/kakeidb.h"
#include "platform/root/path_map.h"
#include "platform/root/root_cookie_store.h"
#include "platform/root/root_environment.h"
#include "platform/root/root_shell.h"

namespace h5 {

Machine MakeMachine(const SessionOptions& options) {
  auto environment = std::make_unique<RootEnvironment>(options.root);
  if (options.today) environment->SetToday(options.today);
  Machine machine;
  machine.cookies = std::make_unique<RootCookieStore>(environment->root());
  machine.shell = std::make_unique<RootShell>(environment->root());
  machine.records = OpenKakeiDb(WindowsPathResolver(environment->root()), *environment);
  machine.environment = std::move(environment);
  return machine;
}

}  // namespace h5
