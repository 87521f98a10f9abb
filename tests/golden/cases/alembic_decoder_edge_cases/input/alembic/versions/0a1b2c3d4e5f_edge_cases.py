"""edge cases

Revision ID: 0a1b2c3d4e5f
Revises: f6a7b8c9d0e1
Create Date: 2024-02-10 10:12:33.123456

"""
from typing import Sequence, Union

from alembic import op
import sqlalchemy as sa


# revision identifiers, used by Alembic.
revision: str = "0a1b2c3d4e5f"
down_revision: Union[str, None] = "f6a7b8c9d0e1"
branch_labels: Union[str, Sequence[str], None] = None
depends_on: Union[str, Sequence[str], None] = None

OPTIONS = {"schema": "public"}


def helper():
    op.create_index("ix_never_seen", "orders", ["a"])


def upgrade() -> None:
    op.create_index("ix_orders_a", "orders", ["a"], postgresql_concurrently=1)
    op.drop_index("ix_orders_b")
    op.create_table("carts", sa.Column("id", sa.Integer(), primary_key=True))
    op.create_index("ix_carts_id", "carts", ["id"], **OPTIONS)
    op.create_index("ix_carts_user", "carts", ["user_id"], schema=None)
    op.create_index("ix_carts_day", "carts", ["day"], schema="None")
    op.create_index("ix_carts_week", "carts", ["week"], schema=SCHEMA)
    op.add_column("orders", COLUMN)
    op.add_column("orders", sa.Column(sa.Integer(), nullable=False))
    op.add_column("orders", sa.Column("id2", sa.Integer(), primary_key=True))
    op.add_column("orders", sa.Column("flag", sa.Boolean(), nullable=False, server_default=None))
    op.add_column("orders", sqlalchemy.Column("kind", sa.Text(), nullable=False, server_default=sa.text("'a'")))
    op.alter_column("orders", "status", None, False)
    op.alter_column(
        "orders",
        # the column
        "state",
        nullable=False,
        new_column_name="status_code",
    )
    op.alter_column("orders", "size", type_=None)
    wrapper(op.drop_column("orders", "never"))
    batch_op.drop_column("orders", "x")
    alembic.op.drop_column("orders", "y")
    cart = op.create_table("wishlists", sa.Column("id", sa.Integer()))
    op.create_index("ix_wishlists_id", "wishlists", ["id"])
    op.create_table("tags", sa.Column("id", sa.Integer()), if_not_exists=True)
    op.create_index("ix_tags_id", "tags", ["id"])
    op.create_table("labels", sa.Column("id", sa.Integer()), if_not_exists=False)
    op.create_index("ix_labels_id", "labels", ["id"])

    def nested():
        op.drop_table("inside_nested_def")

    class Steps:
        op.drop_table("inside_class")

    for name in ("a", "b"):
        op.create_table("loop_table", sa.Column("id", sa.Integer()))
    op.create_index("ix_loop_table_id", "loop_table", ["id"])
    op.alter_column("orders", "status", False)


def upgrade():
    op.drop_table("second_upgrade_is_ignored")
