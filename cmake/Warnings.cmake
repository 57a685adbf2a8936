# Strict warnings for the project's own targets (not for GoogleTest).
function(dorvint_strict target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Werror)
endfunction()

option(DORVINT_SANITIZE "Build the host tests with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(DORVINT_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
