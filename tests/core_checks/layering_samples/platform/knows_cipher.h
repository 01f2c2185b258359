// A sample for check_includes_test.cmake: the platform depending on a layer above it.
#pragma once
#include "cipher/cipher.h"
#include "platform/utf8.h"
