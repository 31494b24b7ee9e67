# One dense workload per run, as bench/dense.qn:
#   python3 dense.py OP N REPS
# prints the mean wall and CPU milliseconds of the operation over REPS runs.
import sys
import time

import numpy as np

op, n, reps = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
rng = np.random.default_rng(1)
a = rng.random((n, n)) - 0.5
b = rng.random((n, n)) - 0.5
if op in (1, 4, 6, 8, 9):
    a = a + 1j * (rng.random((n, n)) - 0.5)
    b = b + 1j * (rng.random((n, n)) - 0.5)
if op >= 3:
    a = a * 0.2 + np.eye(n)

work = {
    1: lambda: a @ b, 2: lambda: a @ b,
    3: lambda: np.linalg.inv(a), 4: lambda: np.linalg.inv(a),
    5: lambda: np.linalg.det(a), 6: lambda: np.linalg.det(a),
    7: lambda: np.linalg.matrix_rank(a), 8: lambda: np.linalg.matrix_rank(a),
    9: lambda: (a @ b, np.linalg.inv(a), np.linalg.det(a), np.linalg.matrix_rank(a)),
}.get(op, lambda: None)
wall, cpu = time.perf_counter(), time.process_time()
for _ in range(reps):
    work()
wall, cpu = time.perf_counter() - wall, time.process_time() - cpu
print("%.4f %.4f" % (wall * 1000 / reps, cpu * 1000 / reps))
