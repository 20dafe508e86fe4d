# The engine's layers as the build sees them: every header of a layer compiles with that
# layer's include path, and a header of a layer above is not found there. Arguments: CXX, the
# compiler; SOURCE, the project root; STORE_INCLUDE and SCRIPT_INCLUDE, the layers' include
# folders; WORK, a scratch folder.

# Compiles `text` with `include` as the only include folder; sets OK and MESSAGES.
function(probe include text)
  file(WRITE ${WORK}/layer_probe.cc "${text}")
  execute_process(COMMAND ${CXX} -std=c++20 -fsyntax-only -I${include} ${WORK}/layer_probe.cc
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(status EQUAL 0)
    set(OK TRUE PARENT_SCOPE)
  else()
    set(OK FALSE PARENT_SCOPE)
  endif()
  set(MESSAGES "${out}${err}" PARENT_SCOPE)
endfunction()

# Includes every header of the given folders.
function(headers_of var)
  set(text "")
  foreach(folder ${ARGN})
    file(GLOB headers RELATIVE ${SOURCE} ${SOURCE}/${folder}/*.h)
    foreach(h ${headers})
      string(APPEND text "#include \"${h}\"\n")
    endforeach()
  endforeach()
  set(${var} "${text}" PARENT_SCOPE)
endfunction()

file(MAKE_DIRECTORY ${WORK})

headers_of(text engine/store)
probe(${STORE_INCLUDE} "${text}")
if(NOT OK)
  message(FATAL_ERROR "the store's headers need more than the store:\n${MESSAGES}")
endif()
headers_of(text engine/store engine/script)
probe(${SCRIPT_INCLUDE} "${text}")
if(NOT OK)
  message(FATAL_ERROR "the script layer's headers need more than the script layer and the store:\n${MESSAGES}")
endif()

# A layer that reaches up does not compile.
probe(${STORE_INCLUDE} "#include \"engine/script/program.h\"\n")
if(OK OR NOT MESSAGES MATCHES "engine/script/program.h: No such file")
  message(FATAL_ERROR "the store reaches the script layer:\n${MESSAGES}")
endif()
probe(${SCRIPT_INCLUDE} "#include \"engine/host/cmorva.h\"\n")
if(OK OR NOT MESSAGES MATCHES "engine/host/cmorva.h: No such file")
  message(FATAL_ERROR "the script layer reaches the host:\n${MESSAGES}")
endif()
