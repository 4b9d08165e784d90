# Sourced by the LV2 tool tests. programs HOST ADDON prints one line per
# program of the record add-on, as `wobrix-host info` reports it:
# NUMBER|NAME|MIX|TUBE|COMP (values as printed, %g).
programs() {
    "$1" info "$2" | awk -F'"' '
        /^programs:/ { on = 1; next }
        on && /^  [0-9]+: "/ { if (n != "") print n "|" name "|" v[0] "|" v[1] "|" v[2]
                               split($1, a, ":"); n = a[1] + 0; name = $2; next }
        on && /^      [0-2] "/ { split($1, a, " "); split($3, b, " "); v[a[1]] = b[1] }
        END { if (n != "") print n "|" name "|" v[0] "|" v[1] "|" v[2] }'
}
URI=http://www.zeltoaudio.com/lv2/WobrixFree
