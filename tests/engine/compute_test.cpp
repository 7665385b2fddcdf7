#include "engine/compute.h"

#include <gtest/gtest.h>
