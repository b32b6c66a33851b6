// Directories: HOME UPDIR CRDIR PGDIR PATH ORDER TVARS. VARS, PURGE and the STO family
// work in the current directory too (variables.cpp); a name is looked for there, then in
// the directories above it.
#include "commands/support.h"
#include "objects/directory.h"

namespace rplrun {

namespace {

// A global name, quoted or not.
const Symbol* global_name_arg(const Object& object) {
  if (!object.is(Kind::name) || object.is_local()) fail(bad_argument_type);
  return object.symbol();
}

void home(Machine& m, const Args&) { m.enter_directory(m.home_directory()); }

void updir(Machine& m, const Args&) {
  if (DirectoryNode* parent = m.current_directory().parent) m.enter_directory(*parent);
}

// A new empty directory; a variable of that name already here is kept, an error.
void crdir(Machine& m, const Args& a) {
  const Symbol* name = global_name_arg(a[1]);
  if (m.current_directory().find(name)) fail(directory_not_allowed);
  m.store_global(name, make_directory({}));
}

// A subdirectory of the current directory, purged with everything it holds.
void pgdir(Machine& m, const Args& a) {
  const Symbol* name = global_name_arg(a[1]);
  const Variable* variable = m.current_directory().find(name);
  if (!variable) fail(undefined_name);
  if (!variable->value.is(Kind::directory)) fail(bad_argument_type);
  m.purge_global(name, true);
}

void path(Machine& m, const Args&) {
  std::vector<Object> names;
  for (const DirectoryNode* dir : m.path()) {
    names.push_back(dir->parent ? Object::name(dir->name) : Object::command(cmd::home));
  }
  m.push(Object::list(std::move(names)));
}

// The variables named come first, in that order; names with no variable here are
// passed over.
void order(Machine& m, const Args& a) {
  std::vector<const Symbol*> names;
  for (const Object& item : list_arg(a[1])) names.push_back(global_name_arg(item));
  m.current_directory().move_to_front(names);
}

// The variables of the current directory holding an object of the given type, or of
// any of a list of types.
void tvars(Machine& m, const Args& a) {
  std::vector<std::int64_t> types;
  if (a[1].is(Kind::list)) {
    for (const Object& item : a[1].items()) types.push_back(integer_arg(item));
  } else {
    types.push_back(integer_arg(a[1]));
  }
  DirectoryNode& dir = m.current_directory();
  std::vector<Object> names;
  for (const Symbol* name : dir.names()) {
    const std::int64_t type = type_number(dir.find(name)->settled());
    if (std::find(types.begin(), types.end(), type) != types.end())
      names.push_back(Object::name(name));
  }
  m.push(Object::list(std::move(names)));
}

constexpr CommandRow rows[] = {
    {"HOME", 0, home}, {"UPDIR", 0, updir}, {"CRDIR", 1, crdir}, {"PGDIR", 1, pgdir},
    {"PATH", 0, path}, {"ORDER", 1, order}, {"TVARS", 1, tvars},
};

}  // namespace

std::span<const CommandRow> directory_commands() { return rows; }

}  // namespace rplrun
