// ecg-host-example: a native host of the component, as a third-party
// program would be written. It includes only the component's public header,
// loads libECG.so at run time, and drives the facade through its virtual
// operations: version, patient data, the acquisition time of a record, an
// XML export and an analysis. Nothing of the component is linked in.
//
//   ecg-host-example LIBECG.so RECORD.scp OUT.xml

#include <dlfcn.h>

#include <cstdio>
#include <cstring>

#include "interface/facade/ecg_interface.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "Usage: ecg-host-example LIBECG.so RECORD.scp OUT.xml\n");
    return 2;
  }
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "cannot load %s: %s\n", argv[1], dlerror());
    return 2;
  }
  using Create = CECGInterface* (*)();
  using Destroy = void (*)();
  auto create = reinterpret_cast<Create>(dlsym(library, "CreateECGInterface"));
  auto destroy = reinterpret_cast<Destroy>(dlsym(library, "DestroyECGInterface"));
  if (create == nullptr || destroy == nullptr) {
    std::fprintf(stderr, "%s does not export the factory functions\n", argv[1]);
    return 2;
  }

  CECGInterface* ecg = create();
  if (ecg == nullptr) return 1;
  char version[32] = {};
  ecg->GetVersion(version, sizeof version);
  std::printf("component version: %s\n", version);

  std::strcpy(ecg->m_lastName, "Example");
  std::strcpy(ecg->m_firstName, "Host");
  ecg->m_height = 180.0;
  ecg->SetMeasurementUnits(kImperial);
  std::printf("height shown to the user: %.1f in\n", ecg->GetHeight());

  const ecg::platform::SystemTime t = ecg->GetTestTime(argv[2]);
  std::printf("recorded: %04u-%02u-%02u %02u:%02u:%02u\n", t.year, t.month, t.day, t.hour, t.minute,
              t.second);
  const int exported = ecg->ExportToXml(argv[2], argv[3]);
  std::printf("XML export: %s\n", exported == 1 ? "written" : "failed");
  std::printf("confirmed: %d\n", static_cast<int>(ecg->GetConfirmedStatus(argv[2])));
  std::printf("Release: %d\n", ecg->Release());
  destroy();
  dlclose(library);
  return exported == 1 ? 0 : 1;
}
