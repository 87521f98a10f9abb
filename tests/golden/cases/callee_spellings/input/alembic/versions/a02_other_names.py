"""None of these calls is op's: nothing here is reported."""
from alembic import op


def upgrade():
    op2.create_index("ix_a", "orders", ["a"])
    getattr(op, "create_index")("ix_b", "orders", ["b"])
    op.batch.create_index("ix_c", "orders", ["c"])
