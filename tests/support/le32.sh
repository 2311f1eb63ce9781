# Little-endian 32-bit integers, as document files and curve records hold them: le32 N...
le32() {
    local v
    for v in "$@"; do
        v=$((v & 0xFFFFFFFF))
        printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((v & 255)) $(((v >> 8) & 255)) \
            $(((v >> 16) & 255)) $(((v >> 24) & 255)))"
    done
}
