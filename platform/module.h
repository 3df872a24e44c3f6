#pragma once
// A shared module loaded at run time by file name from a folder, with its
// exported C functions looked up by name. The module stays loaded while the
// object lives.

#include <QLibrary>
#include <QString>

#include <memory>

namespace hv6 {

class Module {
 public:
  Module() = default;
  ~Module();
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  // Loads folder/fileName. A Windows name ("savedata6.dll") stands for the
  // module of that base name here; the platform's prefix and suffix are
  // tried as usual.
  bool load(const QString& folder, const QString& fileName);
  // Loads a module by its file name alone, through the system's search
  // order (the folders the dynamic loader searches).
  bool loadByName(const QString& fileName);

  // The file of the module folder/fileName as load() would find it (the
  // name itself, or the platform's name for a Windows name); empty when
  // there is no such file.
  static QString locate(const QString& folder, const QString& fileName);
  // The file a module name stands for here, as a message names it: the
  // module "dialnt6.dll" is installed as "libdialnt6.so".
  static QString localFileName(const QString& fileName);
  void unload();
  bool isLoaded() const { return library_ && library_->isLoaded(); }

  // The exported function, or null (errorText() says why).
  QFunctionPointer resolve(const char* name);
  template <typename Function>
  Function* function(const char* name) {
    return reinterpret_cast<Function*>(resolve(name));
  }

  const QString& errorText() const { return error_; }

 private:
  std::unique_ptr<QLibrary> library_;
  QString error_;
};

}  // namespace hv6
