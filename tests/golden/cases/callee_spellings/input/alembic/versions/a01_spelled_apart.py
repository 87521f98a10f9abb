"""Each call below is one Python reads as a plain op.* call."""
from alembic import op
import sqlalchemy as sa


def upgrade():
    op . create_index("ix_a", "orders", ["a"])
    op.\
        create_index("ix_b", "orders", ["b"])
    (op).create_index("ix_c", "orders", ["c"])
    op.add_column("orders", sa . Column("g", sa.Integer(), nullable=False))
    with op.get_context( ).autocommit_block():
        op.create_index("ix_d", "orders", ["d"], postgresql_concurrently=True)
    ctx = op.get_context()
    with (ctx).autocommit_block():
        op.create_index("ix_e", "orders", ["e"], postgresql_concurrently=True)
