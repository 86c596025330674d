# Sourced: the search for the fewest steps a test must play before the one
# that differs, by trying (delta debugging, Zeller and Hildebrandt's ddmin).
# reduce_steps TRIAL STEP...: TRIAL is a command given a set of steps (none,
# or some) that succeeds where a test playing those steps shows the
# difference; STEP... are the candidates, all of which together show it.
# Leaves the fewest found in reduce_kept (none where the state before the
# step is enough) and how many tries it took in reduce_runs.
reduce_runs=0 reduce_kept=()

try_steps() {
    reduce_runs=$((reduce_runs + 1))
    "$reduce_trial" "$@"
}

reduce_steps() {
    reduce_trial=$1
    shift
    reduce_kept=()
    try_steps && return 0
    [ $# -gt 0 ] && try_steps "$@" || return 1
    fewest_steps "$@"
}

# fewest_steps STEP...: the search alone, from steps known to show it
# (reduce_trial the command that tries).
fewest_steps() {
    local -a kept=("$@")
    local n=2 size found i k
    while [ ${#kept[@]} -ge 2 ]; do
        size=$(((${#kept[@]} + n - 1) / n))
        local -a chunks=()
        for ((i = 0; i < ${#kept[@]}; i += size)); do chunks+=("${kept[*]:i:size}"); done
        found=
        # One part alone, then everything but one part.
        for ((k = 0; k < ${#chunks[@]}; k++)); do
            # shellcheck disable=SC2086  # a part is its steps, split
            if try_steps ${chunks[k]}; then
                read -r -a kept <<<"${chunks[k]}"
                n=2 found=1
                break
            fi
        done
        if [ -z "$found" ] && [ ${#chunks[@]} -gt 2 ]; then
            for ((k = 0; k < ${#chunks[@]}; k++)); do
                local -a rest=()
                for ((i = 0; i < ${#chunks[@]}; i++)); do
                    # shellcheck disable=SC2206
                    [ "$i" = "$k" ] || rest+=(${chunks[i]})
                done
                if try_steps "${rest[@]}"; then
                    kept=("${rest[@]}")
                    n=$((n > 3 ? n - 1 : 2)) found=1
                    break
                fi
            done
        fi
        [ -n "$found" ] && continue
        [ "$n" -ge ${#kept[@]} ] && break
        n=$((2 * n < ${#kept[@]} ? 2 * n : ${#kept[@]}))
    done
    reduce_kept=("${kept[@]}")
}
