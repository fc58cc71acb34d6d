// The texts of the hook error codes, as TSysHook.Start reports them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace desktop {

// 0 to -5: the hook library's own texts; below -5 "Unknown error N"; above 0 a system error
// code, whose text systemMessage gives.
std::u16string HookErrorText(int32_t code, const std::function<std::u16string(uint32_t)>& systemMessage);

}  // namespace desktop
