#pragma once

#include "analysis/Constraints.h"

// The constraint elimination on the dense matrix of rows × degrees of
// freedom, kept as the oracle that the sparse EliminateConstraints must match
// bit for bit.
int EliminateConstraintsDense(const BCContainer& rows, FGTabCont& dofs);
