#include "objects/particle_system.h"

#include "objects/parsers.h"
#include "scene/object_reader.h"

namespace orv {

ParticleSystem::ParticleSystem() : SceneObject(ObjectKind::kParticleSystem) {}

void ParticleSystem::Draw(const Camera&) {}

void ParticleSystem::Update(double) {}

void ParticleSystem::Describe(FieldWriter&) const {}

void ParseParticleSystem(ObjectList& target) {
    auto* object = new ParticleSystem();
    const bool found = ReadObjectBlock([](const char*) {}, [](char*) {});
    if (!found) {
        delete object;
        return;
    }
    AppendObject(target, object);
}

}  // namespace orv
