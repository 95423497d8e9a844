// Everything of the class library's core that the upper layers use.
#pragma once

#include "Types.h"
#include "CObject.h"
#include "CString.h"
#include "CException.h"
#include "CollectionTemplates.h"
#include "Collections.h"
#include "CRect.h"
#include "CTime.h"
#include "CFile.h"
