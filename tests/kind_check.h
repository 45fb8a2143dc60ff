#pragma once
// Fails the running test for every control that was looked up under another kind
// than it has (a label asked for as a picture, say).
#include <gtest/gtest.h>

#include "platform/controls.h"

namespace tavrel::testing {

inline void ExpectNoKindMismatches(const platform::Ui& ui) {
  for (const auto& [name, form] : ui.Forms())
    for (const auto& m : form->KindMismatches())
      ADD_FAILURE() << "control of the wrong kind: " << platform::DescribeMismatch(name, m);
}

}  // namespace tavrel::testing
