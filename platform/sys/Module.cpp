#include "Module.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <map>
#include <mutex>
#include <set>
#include <vector>

#include "Files.h"
#include "LastError.h"

namespace {

struct ModuleRecord {
  std::string key;                       // registered modules: the matching key
  PlatformModuleLookup lookup = nullptr;  // registered modules
  void* library = nullptr;               // opened libraries and the program
  int references = 0;
  bool program = false;
};

struct Modules {
  std::mutex lock;
  std::map<std::string, PlatformModuleLookup> registered;
  std::set<ModuleRecord*> loaded;
  ModuleRecord program;
};

Modules& State() {
  static Modules* modules = [] {
    auto* m = new Modules;  // lives to the end: handles may be used by static destructors
    m->program.library = dlopen(nullptr, RTLD_NOW);
    m->program.program = true;
    return m;
  }();
  return *modules;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// "C:\dir\ComCtl32.DLL" -> "comctl32".
std::string ModuleKey(const char* name) {
  std::string text = PlatformNativePath(name);
  size_t slash = text.rfind('/');
  if (slash != std::string::npos) text.erase(0, slash + 1);
  text = Lower(text);
  if (EndsWith(text, ".dll")) text.resize(text.size() - 4);
  return text;
}

std::string ProgramFolder() {
  char path[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "";
  std::string text(path, static_cast<size_t>(length));
  return text.substr(0, text.rfind('/') + 1);
}

std::vector<std::string> Candidates(const char* name) {
  std::string native = PlatformNativePath(name);
  std::vector<std::string> names = {native};
  if (EndsWith(Lower(native), ".dll")) {
    std::string stem = native.substr(0, native.size() - 4);
    size_t slash = stem.rfind('/');
    std::string folder = slash == std::string::npos ? "" : stem.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? stem : stem.substr(slash + 1);
    names.push_back(folder + "lib" + base + ".so");
    names.push_back(folder + base + ".so");
  }
  std::vector<std::string> out;
  std::string here = ProgramFolder();
  for (const std::string& n : names) {
    if (n.find('/') == std::string::npos && !here.empty()) out.push_back(here + n);
    out.push_back(n);
  }
  return out;
}

ModuleRecord* Find(Modules& m, HMODULE module) {
  auto* record = reinterpret_cast<ModuleRecord*>(module);
  if (record == &m.program) return record;
  return m.loaded.count(record) ? record : nullptr;
}

}  // namespace

HMODULE LoadLibraryA(LPCSTR name) {
  if (!name || !name[0]) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Modules& m = State();
  std::lock_guard<std::mutex> guard(m.lock);
  std::string key = ModuleKey(name);
  auto registered = m.registered.find(key);
  if (registered != m.registered.end()) {
    for (ModuleRecord* record : m.loaded) {
      // A module registered anew is a new module: handles to the old one keep the old lookup.
      if (record->lookup == registered->second && record->key == key) {
        ++record->references;
        return reinterpret_cast<HMODULE>(record);
      }
    }
    auto* record = new ModuleRecord;
    record->key = key;
    record->lookup = registered->second;
    record->references = 1;
    m.loaded.insert(record);
    return reinterpret_cast<HMODULE>(record);
  }
  for (const std::string& candidate : Candidates(name)) {
    void* library = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) continue;
    for (ModuleRecord* record : m.loaded) {
      if (record->library == library) {
        dlclose(library);  // the record holds one dlopen reference for all its loads
        ++record->references;
        return reinterpret_cast<HMODULE>(record);
      }
    }
    auto* record = new ModuleRecord;
    record->key = key;
    record->library = library;
    record->references = 1;
    m.loaded.insert(record);
    return reinterpret_cast<HMODULE>(record);
  }
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR symbol) {
  Modules& m = State();
  PlatformModuleLookup lookup = nullptr;
  void* library = nullptr;
  {
    std::lock_guard<std::mutex> guard(m.lock);
    ModuleRecord* record = Find(m, module);
    if (!record) {
      SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
    lookup = record->lookup;
    library = record->library;
  }
  // Small values are ordinals, which no module here exports.
  if (!symbol || reinterpret_cast<uintptr_t>(symbol) < 0x10000) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  FARPROC found = nullptr;
  if (lookup) {
    found = lookup(symbol);
  } else if (library) {
    found = reinterpret_cast<FARPROC>(reinterpret_cast<uintptr_t>(dlsym(library, symbol)));
  }
  if (!found) SetLastError(ERROR_PROC_NOT_FOUND);
  return found;
}

BOOL FreeLibrary(HMODULE module) {
  Modules& m = State();
  std::lock_guard<std::mutex> guard(m.lock);
  ModuleRecord* record = Find(m, module);
  if (!record) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (record->program) return TRUE;
  if (--record->references > 0) return TRUE;
  m.loaded.erase(record);
  if (record->library) dlclose(record->library);
  delete record;
  return TRUE;
}

HMODULE GetModuleHandleA(LPCSTR name) {
  Modules& m = State();
  std::lock_guard<std::mutex> guard(m.lock);
  if (!name) return reinterpret_cast<HMODULE>(&m.program);
  std::string key = ModuleKey(name);
  for (ModuleRecord* record : m.loaded) {
    if (record->key == key) return reinterpret_cast<HMODULE>(record);
  }
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

void PlatformRegisterModule(const char* name, PlatformModuleLookup lookup) {
  if (!name) return;
  Modules& m = State();
  std::lock_guard<std::mutex> guard(m.lock);
  if (lookup) {
    m.registered[ModuleKey(name)] = lookup;
  } else {
    m.registered.erase(ModuleKey(name));
  }
}

std::string PlatformModulePath(HMODULE module) {
  Modules& m = State();
  std::lock_guard<std::mutex> guard(m.lock);
  ModuleRecord* record = Find(m, module);
  if (!record || !record->library) return "";
  if (record->program) {
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<size_t>(length)) : "";
  }
  struct link_map* map = nullptr;
  if (dlinfo(record->library, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name) return "";
  char resolved[PATH_MAX];
  return realpath(map->l_name, resolved) ? resolved : map->l_name;
}
