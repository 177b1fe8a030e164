#include "base/runtime_error.h"

#include <exception>
#include <new>
#include <stdexcept>

#include "base/text.h"

std::string RuntimeErrorText(const RuntimeErrorKind& error, const char* operation)
{
    return error.text + NumberText(error.number) + " in " + operation;
}

std::string CurrentExceptionText(const char* operation)
{
    try {
        throw;
    } catch (const std::out_of_range&) {
        return RuntimeErrorText(kSubscriptOutOfRange, operation);
    } catch (const std::bad_alloc&) {
        return RuntimeErrorText(kOutOfMemory, operation);
    } catch (const std::length_error&) {
        return RuntimeErrorText(kOutOfMemory, operation);
    } catch (...) {
        return RuntimeErrorText(kInternalError, operation);
    }
}
