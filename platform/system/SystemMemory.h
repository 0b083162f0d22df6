#pragma once

// The machine's physical memory in bytes, 0 when it cannot be read.
unsigned long long PhysicalMemoryBytes();
