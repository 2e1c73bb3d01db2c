#pragma once
// Components from stored descriptions and back.
//
// Reading a description into a root component (a form): the root's own properties are
// assigned, then each nested object is created through the class registry with the root as
// owner and the enclosing object as parent component (SetParentComponent), named, bound to
// the root's field of that name if it publishes one, and given its properties in the
// order written. Published properties are looked up first, then those the component
// defines in DefineProperties. While this runs every component read carries csLoading
// (and csReading during its own properties); afterwards Loaded runs on the root and then
// on every object, in reading order. Any problem throws EReadError naming the line.
#include <string>
#include <string_view>

#include "framework/component.h"
#include "framework/form_description.h"

namespace fw {

void ReadComponent(TComponent& root, const FormObject& description);
// Parses and reads; a parse error is thrown as EReadError as well.
void ReadComponentFromText(TComponent& root, std::string_view text);

// Assigns properties to one component outside a whole-form read (no Loaded).
void ReadProperties(TComponent& component, const std::vector<FormProperty>& properties,
                    TComponent* root);

// The component's published properties (in declaration order) and defined properties.
FormObject WriteComponentProperties(const TComponent& component);
// The root with every component it owns, nested by parent component.
FormObject WriteComponent(const TComponent& root);
std::string WriteComponentToText(const TComponent& root);

}  // namespace fw
