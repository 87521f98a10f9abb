"""raw sql indexes

Revision ID: c3d4e5f6a7b8
Revises: b2c3d4e5f6a7
Create Date: 2024-02-10 10:12:33.123456

"""
from typing import Sequence, Union

from alembic import op
import sqlalchemy as sa


# revision identifiers, used by Alembic.
revision: str = "c3d4e5f6a7b8"
down_revision: Union[str, None] = "b2c3d4e5f6a7"
branch_labels: Union[str, Sequence[str], None] = None
depends_on: Union[str, Sequence[str], None] = None


def upgrade() -> None:
    op.execute("CREATE INDEX ix_orders_status ON orders (status)")
    op.execute(sqltext="CREATE INDEX CONCURRENTLY ix_orders_region ON orders (region)")
    ctx = op.get_context()
    with ctx.autocommit_block():
        op.execute("CREATE INDEX CONCURRENTLY ix_orders_channel ON orders (channel)")
        op.create_index("ix_orders_total", "orders", ["total"], postgresql_concurrently=True)
    op.drop_index("ix_orders_old", table_name="orders", postgresql_concurrently=True)
    with op.get_context().autocommit_block() as block:
        op.execute("REINDEX INDEX CONCURRENTLY ix_orders_status")
    op.execute(sa.text("CREATE INDEX ix_orders_note ON orders (note)"))


def downgrade() -> None:
    op.execute("DROP INDEX ix_orders_status")
