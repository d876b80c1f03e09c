// The type parsers of the object description reader, one per kind. Each creates one object,
// reads its begin/end block from the shared object file and appends it to `target`.
#pragma once

#include "scene/object_list.h"

namespace orv {

void ParseSphere(ObjectList& target);
void ParseBillboard(ObjectList& target);
void ParseFlare(ObjectList& target);
void ParseFlame(ObjectList& target);
void ParseMesh(ObjectList& target);
void ParseParticleSystem(ObjectList& target);

}  // namespace orv
