#pragma once
// What a refusal says: the message of the exception the call throws, and a
// test failure if it throws none.

#include <gtest/gtest.h>

#include <string>

namespace varnel::testing {

template <typename Exception, typename Call>
std::string refusalOf(Call&& call) {
    try {
        call();
    } catch (const Exception& exception) {
        return exception.what();
    }
    ADD_FAILURE() << "nothing was refused";
    return {};
}

}  // namespace varnel::testing
