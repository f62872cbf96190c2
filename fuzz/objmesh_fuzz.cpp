// objmesh_fuzz.cpp -- libFuzzer target: any text through both passes of the
// OBJ loader; every stored index must point at a vertex.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "geom/objmesh.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  objmesh m;
  m.parse(std::string_view(reinterpret_cast<const char*>(data), size));
  if (m.objectStarts.empty() || m.objectStarts.back() > m.triangleCount) std::abort();
  for (size_t i = 0; i < size_t(m.objectStarts.back()) * 3; ++i)
    if (m.indices[i] >= m.vertices.size()) std::abort();
  for (size_t k = 0; k + 1 < m.objectStarts.size(); ++k)
    if (m.objectStarts[k] > m.objectStarts[k + 1]) std::abort();
  return 0;
}
