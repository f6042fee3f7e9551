# Copies the sound set (kT93_*.wav) from FROM into TO.
file(GLOB sounds ${FROM}/kT93_*.wav)
if(NOT sounds)
    message(FATAL_ERROR "no sound set in ${FROM}")
endif()
file(COPY ${sounds} DESTINATION ${TO})
