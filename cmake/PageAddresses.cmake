# The two pages a click opens, compiled into the program. Whoever builds it sets the real
# ones when configuring; the defaults lie in a domain reserved for examples.
set(QUORVEL_FORUM_PAGE_ADDRESS "https://forum.quorvel.example/" CACHE STRING
    "Address of the group's forum, opened first")
set(QUORVEL_GROUP_PAGE_ADDRESS "https://go.quorvel.example/group" CACHE STRING
    "Short link to the group's page, opened second")

# An absolute http(s) address of printable ASCII without blanks, quotes or backslashes:
# it is passed to the URL handler unchanged and stands in a C string.
function(quorvel_check_page_address variable)
    set(value "${${variable}}")
    set(host "[A-Za-z0-9.-]+(:[0-9]+)?")
    set(rest "[A-Za-z0-9._~:/?#@!$&()*+,;=%-]*")
    if(NOT value MATCHES "^https?://${host}([/?#]${rest})?$")
        message(FATAL_ERROR "${variable} must be an absolute http:// or https:// address without "
                            "blanks, quotes, backslashes, control characters or non-ASCII bytes; "
                            "it is \"${value}\"")
    endif()
endfunction()

quorvel_check_page_address(QUORVEL_FORUM_PAGE_ADDRESS)
quorvel_check_page_address(QUORVEL_GROUP_PAGE_ADDRESS)
configure_file(${CMAKE_SOURCE_DIR}/prompt/page_addresses.h.in
               ${CMAKE_BINARY_DIR}/generated/prompt/page_addresses.h @ONLY)
set(QUORVEL_TWIN_ARGS
    -DQUORVEL_FORUM_PAGE_ADDRESS=${QUORVEL_FORUM_PAGE_ADDRESS}
    -DQUORVEL_GROUP_PAGE_ADDRESS=${QUORVEL_GROUP_PAGE_ADDRESS})
